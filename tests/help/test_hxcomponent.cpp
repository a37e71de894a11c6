#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "help/hxcomponent.h"

using namespace help;
using namespace std::string_literals;

namespace {

// A component with one property of each stored kind.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, std::vector<std::string>* log = nullptr) : TComponent(owner), log_(log) {}
  ~TProbe() override {
    if (log_) log_->push_back("free " + Name());
  }
  std::string ClassName() const override { return "TProbe"; }

  int32_t Number = 0;
  bool Flag = false;
  std::string Text;
  int Mode = 0;
  uint32_t Options = 0;
  std::string Data;
  bool LoadingWhenSet = false;

  void DefineProperties(TFiler& f) override {
    static constexpr const char* kModes[] = {"mdOne", "mdTwo", "mdThree"};
    static constexpr const char* kOptions[] = {"opA", "opB", "opC"};
    f.IntegerProperty(
        "Number", [this] { return Number; },
        [this](int32_t v) {
          Number = v;
          LoadingWhenSet = Loading();
        },
        Number != 0);
    f.BooleanProperty(
        "Flag", [this] { return Flag; }, [this](bool v) { Flag = v; }, true);
    f.StringProperty(
        "Text", [this] { return Text; }, [this](const std::string& v) { Text = v; }, !Text.empty());
    f.EnumProperty(
        "Mode", kModes, [this] { return Mode; }, [this](int v) { Mode = v; }, Mode != 0);
    f.SetProperty(
        "Options", kOptions, [this] { return Options; }, [this](uint32_t v) { Options = v; }, Options != 0);
    f.BinaryProperty(
        "Data", [this](TMemoryStream& s) { Data = s.ReadBytes(s.Size()); },
        [this](TMemoryStream& s) { s.WriteBytes(Data); }, !Data.empty());
  }

 protected:
  void AfterLoad() override {
    if (log_) log_->push_back("loaded " + Name() + (Loading() ? " still loading" : ""));
  }

 private:
  std::vector<std::string>* log_;
};

std::string Ident(const std::string& s) { return std::string(1, static_cast<char>(s.size())) + s; }

// Root "Form1" with Number -2, Flag, Text "Ahoj", Mode mdThree, Options [opA, opC],
// Data "xy", owning "Probe2" with only Flag False stored.
const std::string kStored = Ident("TProbe") + Ident("Form1") + Ident("Number") + "\x01\xfe\xff\xff\xff"s +
                            Ident("Flag") + "\x03" + Ident("Text") + "\x04\x04\0\0\0Ahoj"s + Ident("Mode") + "\x05" +
                            Ident("mdThree") + Ident("Options") + "\x06\x02" + Ident("opA") + Ident("opC") +
                            Ident("Data") + "\x07\x02\0\0\0xy"s + "\0"s + Ident("TProbe") + Ident("Probe2") +
                            Ident("Flag") + "\x02" + "\0"s + "\0"s + "\0"s;

}  // namespace

TEST(Component, OwnerFreesWhatItOwnsLastFirst) {
  std::vector<std::string> log;
  auto* root = new TProbe(nullptr, &log);
  root->SetName("root");
  auto* a = new TProbe(root, &log);
  a->SetName("a");
  auto* b = new TProbe(root, &log);
  b->SetName("b");
  auto* c = new TProbe(root, &log);
  c->SetName("c");
  delete b;  // leaves its owner's list
  ASSERT_EQ(root->Components().size(), 2u);
  EXPECT_EQ(root->FindComponent("C"), c);
  EXPECT_EQ(root->FindComponent("b"), nullptr);
  EXPECT_EQ(root->FindComponent(""), nullptr);
  delete root;
  EXPECT_EQ(log, (std::vector<std::string>{"free b", "free root", "free c", "free a"}));
}

TEST(Component, DesignModeComesFromTheOwnerAndReachesOwnedComponents) {
  TProbe form(nullptr);
  form.SetDesigning(true);
  auto* early = new TProbe(&form);
  EXPECT_TRUE(early->Designing());
  form.SetDesigning(false);
  EXPECT_FALSE(early->Designing());
  EXPECT_FALSE(TProbe(nullptr).Designing());
}

TEST(Component, WritesEveryKindAsLaidOut) {
  TProbe form(nullptr);
  form.SetName("Form1");
  form.Number = -2;
  form.Flag = true;
  form.Text = "Ahoj";
  form.Mode = 2;
  form.Options = 0b101;
  form.Data = "xy";
  (new TProbe(&form))->SetName("Probe2");
  TMemoryStream stream;
  TWriter(stream).WriteComponent(form);
  EXPECT_EQ(stream.Bytes(), kStored);
}

TEST(Component, ReadingFillsTheFormThenRunsAfterLoadInOrder) {
  std::vector<std::string> log;
  TProbe form(nullptr, &log);
  auto* child = new TProbe(&form, &log);
  child->SetName("PROBE2");  // names are found whatever their case
  child->Flag = true;
  TMemoryStream stream(kStored);
  TReader(stream).ReadComponent(form);
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.Number, -2);
  EXPECT_TRUE(form.LoadingWhenSet);
  EXPECT_FALSE(form.Loading());
  EXPECT_TRUE(form.Flag);
  EXPECT_EQ(form.Text, "Ahoj");
  EXPECT_EQ(form.Mode, 2);
  EXPECT_EQ(form.Options, 0b101u);
  EXPECT_EQ(form.Data, "xy");
  EXPECT_FALSE(child->Flag);
  EXPECT_EQ(child->Name(), "Probe2");
  EXPECT_EQ(stream.Position(), kStored.size());
  EXPECT_EQ(log, (std::vector<std::string>{"loaded Form1", "loaded Probe2"}));
}

TEST(Component, DamagedStorageFailsCleanlyWithoutAfterLoad) {
  auto check = [](const std::string& bytes, const char* what) {
    std::vector<std::string> log;
    TProbe form(nullptr, &log);
    new TProbe(&form, &log);
    form.Components()[0]->SetName("Probe2");
    TMemoryStream stream(bytes);
    EXPECT_THROW(TReader(stream).ReadComponent(form), platform::Exception) << what;
    EXPECT_FALSE(form.Loading()) << what;
    EXPECT_FALSE(form.Components()[0]->Loading()) << what;
    EXPECT_TRUE(log.empty()) << what;
  };
  const std::string head = Ident("TProbe") + Ident("Form1");
  check("", "empty");
  for (size_t n = 1; n < kStored.size(); ++n) check(kStored.substr(0, n), "truncated");
  check(Ident("TOther") + Ident("Form1") + "\0\0"s, "other class");
  check(head + Ident("Colour") + "\x01\0\0\0\0"s + "\0\0"s, "unknown property");
  check(head + Ident("Number") + "\x04\x01\0\0\0x"s + "\0\0"s, "wrong kind");
  check(head + Ident("Mode") + "\x05" + Ident("mdFour") + "\0\0"s, "unknown identifier");
  check(head + Ident("Options") + "\x06\x01" + Ident("opZ") + "\0\0"s, "unknown set member");
  check(head + Ident("Text") + "\x04\xff\xff\xff\xff"s + "\0\0"s, "negative length");
  check(head + Ident("Data") + "\x07\xff\xff\xff\x7f"s + "\0\0"s, "huge length");
  check(head + "\0"s + Ident("TProbe") + Ident("Nobody") + "\0\0\0"s, "unknown component");
}

TEST(Component, MemoryStreamReadsLittleEndianAndRefusesShortReads) {
  TMemoryStream s("\x78\x56\x34\x12\xff"s);
  EXPECT_EQ(s.ReadInt32(), 0x12345678);
  EXPECT_THROW(s.ReadInt32(), EReadError);
  EXPECT_EQ(s.Position(), 4u);
  EXPECT_EQ(s.ReadByte(), 0xff);
  s.SetPosition(7);
  s.WriteByte('z');
  EXPECT_EQ(s.Bytes(), "\x78\x56\x34\x12\xff\0\0z"s);
  s.SetPosition(1);
  s.WriteInt32(-1);
  EXPECT_EQ(s.Bytes(), "\x78\xff\xff\xff\xff\0\0z"s);
  char buf[4];
  s.SetPosition(100);
  EXPECT_EQ(s.Read(buf, 4), 0u);
}
