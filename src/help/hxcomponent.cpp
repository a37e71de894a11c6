#include "help/hxcomponent.h"

#include <algorithm>
#include <cstring>

#include "platform/convert.h"

namespace help {

namespace {

enum Kind : uint8_t {
  kInteger = 1,
  kFalse = 2,
  kTrue = 3,
  kString = 4,
  kEnum = 5,
  kSet = 6,
  kBinary = 7,
};

}  // namespace

EReadError::EReadError() : Exception("Stream read error") {}

int32_t LittleEndianInt32(const unsigned char* b) {
  return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

// --- TMemoryStream ---

void TMemoryStream::Clear() {
  data_.clear();
  pos_ = 0;
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (pos_ >= data_.size()) return 0;
  const size_t n = std::min(count, data_.size() - pos_);
  std::memcpy(buffer, data_.data() + pos_, n);
  pos_ += n;
  return n;
}

void TMemoryStream::ReadBuffer(void* buffer, size_t count) {
  if (pos_ > data_.size() || data_.size() - pos_ < count) throw EReadError();
  Read(buffer, count);
}

std::string TMemoryStream::ReadBytes(size_t count) {
  // Checked before allocating, so a wild count in damaged data costs nothing.
  if (pos_ > data_.size() || data_.size() - pos_ < count) throw EReadError();
  std::string out = data_.substr(pos_, count);
  pos_ += count;
  return out;
}

uint8_t TMemoryStream::ReadByte() {
  uint8_t v;
  ReadBuffer(&v, 1);
  return v;
}

int32_t TMemoryStream::ReadInt32() {
  unsigned char b[4];
  ReadBuffer(b, 4);
  return LittleEndianInt32(b);
}

void TMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return;
  if (pos_ > data_.size()) data_.resize(pos_, '\0');
  const size_t overlap = std::min(count, data_.size() - pos_);
  data_.replace(pos_, overlap, static_cast<const char*>(buffer), count);
  pos_ += count;
}

void TMemoryStream::WriteInt32(int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  const unsigned char b[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                              static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
  Write(b, 4);
}

// --- TComponent ---

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) {
    owner_->components_.push_back(this);
    designing_ = owner_->designing_;
  }
}

TComponent::~TComponent() {
  // The last created goes first, so a component never outlives one it was made
  // after; the ones still there hear of each that goes.
  while (!components_.empty()) {
    TComponent* child = components_.back();
    components_.pop_back();
    child->NoticeOthers(TOperation::opRemove);
    child->owner_ = nullptr;
    delete child;
  }
  if (owner_) {
    std::erase(owner_->components_, this);
    NoticeOthers(TOperation::opRemove);
  }
}

void TComponent::NoticeInserted() { NoticeOthers(TOperation::opInsert); }

void TComponent::NoticeOthers(TOperation operation) {
  if (!owner_) return;
  // A copy: a notice may make or free components.
  const std::vector<TComponent*> others = owner_->components_;
  for (TComponent* c : others) {
    if (c != this) c->ComponentNotice(this, operation);
  }
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (platform::SameTextAscii(c->name_, name)) return c;
  }
  return nullptr;
}

void TComponent::SetDesigning(bool value) {
  designing_ = value;
  for (TComponent* c : components_) c->SetDesigning(value);
}

void TComponent::DefineProperties(TFiler&) {}

// --- TWriter ---

void TWriter::WriteIdent(std::string_view ident) {
  if (ident.size() > 255) throw EFilerError("Identifier too long: " + std::string(ident.substr(0, 64)));
  stream_.WriteByte(static_cast<uint8_t>(ident.size()));
  stream_.WriteBytes(ident);
}

void TWriter::WritePropertyHead(std::string_view name, uint8_t kind) {
  WriteIdent(name);
  stream_.WriteByte(kind);
}

void TWriter::WriteComponent(TComponent& component) {
  WriteIdent(component.ClassName());
  WriteIdent(component.Name());
  component.DefineProperties(*this);
  WriteIdent("");
  for (TComponent* child : component.Components()) WriteComponent(*child);
  WriteIdent("");
}

void TWriter::IntegerProperty(std::string_view name, std::function<int32_t()> get, std::function<void(int32_t)>,
                              bool stored) {
  if (!stored) return;
  WritePropertyHead(name, kInteger);
  stream_.WriteInt32(get());
}

void TWriter::BooleanProperty(std::string_view name, std::function<bool()> get, std::function<void(bool)>,
                              bool stored) {
  if (!stored) return;
  WritePropertyHead(name, get() ? kTrue : kFalse);
}

void TWriter::StringProperty(std::string_view name, std::function<std::string()> get,
                             std::function<void(const std::string&)>, bool stored) {
  if (!stored) return;
  const std::string value = get();
  WritePropertyHead(name, kString);
  stream_.WriteInt32(static_cast<int32_t>(value.size()));
  stream_.WriteBytes(value);
}

void TWriter::EnumProperty(std::string_view name, std::span<const char* const> identifiers, std::function<int()> get,
                           std::function<void(int)>, bool stored) {
  if (!stored) return;
  const int ordinal = get();
  if (ordinal < 0 || static_cast<size_t>(ordinal) >= identifiers.size()) {
    throw EFilerError("Invalid property value");
  }
  WritePropertyHead(name, kEnum);
  WriteIdent(identifiers[ordinal]);
}

void TWriter::SetProperty(std::string_view name, std::span<const char* const> identifiers,
                          std::function<uint32_t()> get, std::function<void(uint32_t)>, bool stored) {
  if (!stored) return;
  const uint32_t bits = get();
  std::vector<const char*> members;
  for (size_t i = 0; i < identifiers.size() && i < 32; ++i) {
    if (bits & (1u << i)) members.push_back(identifiers[i]);
  }
  WritePropertyHead(name, kSet);
  stream_.WriteByte(static_cast<uint8_t>(members.size()));
  for (const char* m : members) WriteIdent(m);
}

void TWriter::BinaryProperty(std::string_view name, std::function<void(TMemoryStream&)>,
                             std::function<void(TMemoryStream&)> write, bool hasData) {
  if (!hasData) return;
  TMemoryStream block;
  write(block);
  WritePropertyHead(name, kBinary);
  stream_.WriteInt32(static_cast<int32_t>(block.Size()));
  stream_.WriteBytes(block.Bytes());
}

// --- TReader ---

std::string TReader::ReadIdent() { return stream_.ReadBytes(stream_.ReadByte()); }

void TReader::ReadComponent(TComponent& root) {
  std::vector<TComponent*> loaded;
  try {
    const std::string className = ReadIdent();
    const std::string name = ReadIdent();
    ReadInto(root, className, name, loaded);
  } catch (...) {
    for (TComponent* c : loaded) c->loading_ = false;
    throw;
  }
  for (TComponent* c : loaded) c->loading_ = false;
  for (TComponent* c : loaded) c->AfterLoad();
}

void TReader::ReadInto(TComponent& component, const std::string& className, const std::string& name,
                       std::vector<TComponent*>& loaded) {
  if (className != component.ClassName()) {
    throw EFilerError("Invalid stream format: " + className + " where " + component.ClassName() + " was expected");
  }
  component.loading_ = true;
  loaded.push_back(&component);
  component.SetName(name);
  for (;;) {
    property_ = ReadIdent();
    if (property_.empty()) break;
    kind_ = stream_.ReadByte();
    taken_ = false;
    current_ = &component;
    component.DefineProperties(*this);
    current_ = nullptr;
    if (!taken_) Fail(name, "Property " + property_ + " does not exist");
  }
  for (;;) {
    const std::string childClass = ReadIdent();
    if (childClass.empty()) break;
    const std::string childName = ReadIdent();
    TComponent* child = component.FindComponent(childName);
    if (!child) throw EFilerError("Component " + childName + " not found in " + name);
    ReadInto(*child, childClass, childName, loaded);
  }
}

void TReader::Fail(const std::string& componentName, const std::string& what) const {
  throw EFilerError("Error reading " + componentName + "." + property_ + ": " + what);
}

bool TReader::Takes(std::string_view name, bool kindFits) {
  if (taken_ || !platform::SameTextAscii(name, property_)) return false;
  if (!kindFits) Fail(current_->Name(), "Invalid property value");
  taken_ = true;
  return true;
}

int TReader::OrdinalOf(std::span<const char* const> identifiers, const std::string& ident) const {
  for (size_t i = 0; i < identifiers.size(); ++i) {
    if (platform::SameTextAscii(identifiers[i], ident)) return static_cast<int>(i);
  }
  Fail(current_->Name(), "Invalid property value");
}

void TReader::IntegerProperty(std::string_view name, std::function<int32_t()>, std::function<void(int32_t)> set, bool) {
  if (Takes(name, kind_ == kInteger)) set(stream_.ReadInt32());
}

void TReader::BooleanProperty(std::string_view name, std::function<bool()>, std::function<void(bool)> set, bool) {
  if (Takes(name, kind_ == kFalse || kind_ == kTrue)) set(kind_ == kTrue);
}

void TReader::StringProperty(std::string_view name, std::function<std::string()>,
                             std::function<void(const std::string&)> set, bool) {
  if (!Takes(name, kind_ == kString)) return;
  const int32_t length = stream_.ReadInt32();
  if (length < 0) throw EReadError();
  set(stream_.ReadBytes(static_cast<size_t>(length)));
}

void TReader::EnumProperty(std::string_view name, std::span<const char* const> identifiers, std::function<int()>,
                           std::function<void(int)> set, bool) {
  if (Takes(name, kind_ == kEnum)) set(OrdinalOf(identifiers, ReadIdent()));
}

void TReader::SetProperty(std::string_view name, std::span<const char* const> identifiers, std::function<uint32_t()>,
                          std::function<void(uint32_t)> set, bool) {
  if (!Takes(name, kind_ == kSet)) return;
  uint32_t bits = 0;
  for (int n = stream_.ReadByte(); n > 0; --n) {
    const int ordinal = OrdinalOf(identifiers, ReadIdent());
    if (ordinal < 32) bits |= 1u << ordinal;
  }
  set(bits);
}

void TReader::BinaryProperty(std::string_view name, std::function<void(TMemoryStream&)> read,
                             std::function<void(TMemoryStream&)>, bool) {
  if (!Takes(name, kind_ == kBinary)) return;
  const int32_t length = stream_.ReadInt32();
  if (length < 0) throw EReadError();
  // The component reads from its own block only, so damaged data cannot carry it
  // into the properties that follow.
  TMemoryStream block(stream_.ReadBytes(static_cast<size_t>(length)));
  read(block);
}

}  // namespace help
