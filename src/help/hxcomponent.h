#pragma once
// The small component model that the help components share. A component has an
// owner that frees it, a name, a design-mode flag and stored properties, which
// the form storage writes to and reads from a byte stream. While a form is read
// from its storage its components are loading: their setters then only store,
// and AfterLoad runs once every component of the form has been read.
//
// Events are bound in code and never stored.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace help {

// A stream that ended before the data it should hold: "Stream read error".
class EReadError : public platform::Exception {
 public:
  EReadError();
};

// Stored data that does not fit the components it is read into.
class EFilerError : public platform::Exception {
 public:
  using Exception::Exception;
};

// The little-endian 32-bit integer held in four bytes, as the streams store it.
int32_t LittleEndianInt32(const unsigned char* bytes);

// A block of bytes in memory with a read and write position.
class TMemoryStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : data_(std::move(bytes)) {}

  const std::string& Bytes() const { return data_; }
  size_t Size() const { return data_.size(); }
  size_t Position() const { return pos_; }
  // A position past the end reads nothing; a write there pads with zero bytes.
  void SetPosition(size_t pos) { pos_ = pos; }
  void Clear();

  // As many bytes as there are, up to count.
  size_t Read(void* buffer, size_t count);
  // Exactly count bytes, or EReadError with the position unchanged.
  void ReadBuffer(void* buffer, size_t count);
  std::string ReadBytes(size_t count);
  uint8_t ReadByte();
  int32_t ReadInt32();  // little-endian

  void Write(const void* buffer, size_t count);
  void WriteBytes(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
  void WriteByte(uint8_t v) { Write(&v, 1); }
  void WriteInt32(int32_t v);  // little-endian

 private:
  std::string data_;
  size_t pos_ = 0;
};

class TFiler;

// What happened to a component of the same owner.
enum class TOperation { opInsert, opRemove };

class TComponent {
 public:
  // The owner frees the component with itself; a component freed before its
  // owner leaves the owner's list. Design mode is taken from the owner.
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // The class name under which the form storage records the component.
  virtual std::string ClassName() const { return "TComponent"; }

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }

  // Owned components in the order they were created.
  const std::vector<TComponent*>& Components() const { return components_; }
  // Names are compared without regard to ASCII letter case; null when none has it.
  TComponent* FindComponent(std::string_view name) const;

  // Placed in a form designer rather than running in the program.
  bool Designing() const { return designing_; }
  // Also for every owned component.
  void SetDesigning(bool value);

  // Being read from the form storage.
  bool Loading() const { return loading_; }

  // Declares the stored properties to the filer: the published ones in their
  // order, then any further stored data. The filer writes or reads them.
  virtual void DefineProperties(TFiler& filer);

  // Called on every other component of the same owner when a component is
  // inserted (once it is whole, see NoticeInserted) or removed (as it goes).
  virtual void ComponentNotice(TComponent* component, TOperation operation) {}

 protected:
  // Runs once the form holding the component has been read from its storage.
  virtual void AfterLoad() {}
  // Tells the owner's other components that this one is there. A class whose
  // arrival others wait for calls it at the end of its constructor, when the
  // component is whole and can be told by its class.
  void NoticeInserted();

 private:
  friend class TReader;
  void NoticeOthers(TOperation operation);

  TComponent* owner_;
  std::string name_;
  std::vector<TComponent*> components_;
  bool designing_ = false;
  bool loading_ = false;
};

// What a component shows of its stored properties. The writer calls each
// property's getter and writes it when it is to be stored; the reader sets the
// one property it has just read from the stream through its setter.
class TFiler {
 public:
  virtual ~TFiler() = default;

  virtual void IntegerProperty(std::string_view name, std::function<int32_t()> get, std::function<void(int32_t)> set,
                               bool stored) = 0;
  virtual void BooleanProperty(std::string_view name, std::function<bool()> get, std::function<void(bool)> set,
                               bool stored) = 0;
  virtual void StringProperty(std::string_view name, std::function<std::string()> get,
                              std::function<void(const std::string&)> set, bool stored) = 0;
  // An enumeration stored by the identifier of its ordinal.
  virtual void EnumProperty(std::string_view name, std::span<const char* const> identifiers, std::function<int()> get,
                            std::function<void(int)> set, bool stored) = 0;
  // A set of an enumeration, bit n for ordinal n, stored by identifiers.
  virtual void SetProperty(std::string_view name, std::span<const char* const> identifiers,
                           std::function<uint32_t()> get, std::function<void(uint32_t)> set, bool stored) = 0;
  // A block of bytes that the component itself writes and reads.
  virtual void BinaryProperty(std::string_view name, std::function<void(TMemoryStream&)> read,
                              std::function<void(TMemoryStream&)> write, bool hasData) = 0;
};

// Writes a component, its stored properties and, nested, the components it
// owns, as the form storage keeps a form.
//
// Layout: a component is its class name and its name (identifiers), its
// properties, an empty identifier, its owned components, an empty identifier.
// A property is its name (identifier), a kind byte and the value:
//   1 integer: 4 bytes little-endian, signed
//   2 False, 3 True: nothing more
//   4 string: 4-byte little-endian length, the bytes
//   5 enumeration: an identifier
//   6 set: a count byte, that many identifiers
//   7 binary: 4-byte little-endian length, the bytes the component wrote
// An identifier is a length byte (0 to 255) and the bytes.
class TWriter : public TFiler {
 public:
  explicit TWriter(TMemoryStream& stream) : stream_(stream) {}
  void WriteComponent(TComponent& component);

  void IntegerProperty(std::string_view name, std::function<int32_t()> get, std::function<void(int32_t)> set,
                       bool stored) override;
  void BooleanProperty(std::string_view name, std::function<bool()> get, std::function<void(bool)> set,
                       bool stored) override;
  void StringProperty(std::string_view name, std::function<std::string()> get,
                      std::function<void(const std::string&)> set, bool stored) override;
  void EnumProperty(std::string_view name, std::span<const char* const> identifiers, std::function<int()> get,
                    std::function<void(int)> set, bool stored) override;
  void SetProperty(std::string_view name, std::span<const char* const> identifiers, std::function<uint32_t()> get,
                   std::function<void(uint32_t)> set, bool stored) override;
  void BinaryProperty(std::string_view name, std::function<void(TMemoryStream&)> read,
                      std::function<void(TMemoryStream&)> write, bool hasData) override;

 private:
  void WriteIdent(std::string_view ident);
  void WritePropertyHead(std::string_view name, uint8_t kind);

  TMemoryStream& stream_;
};

// Reads what TWriter wrote into components that already exist: the root given
// and, by name, the components it owns. Every component read is loading until
// the whole root has been read; then each one's AfterLoad runs, in the order
// they were read. On a failure the loading ends without AfterLoad.
class TReader : public TFiler {
 public:
  explicit TReader(TMemoryStream& stream) : stream_(stream) {}
  void ReadComponent(TComponent& root);

  void IntegerProperty(std::string_view name, std::function<int32_t()> get, std::function<void(int32_t)> set,
                       bool stored) override;
  void BooleanProperty(std::string_view name, std::function<bool()> get, std::function<void(bool)> set,
                       bool stored) override;
  void StringProperty(std::string_view name, std::function<std::string()> get,
                      std::function<void(const std::string&)> set, bool stored) override;
  void EnumProperty(std::string_view name, std::span<const char* const> identifiers, std::function<int()> get,
                    std::function<void(int)> set, bool stored) override;
  void SetProperty(std::string_view name, std::span<const char* const> identifiers, std::function<uint32_t()> get,
                   std::function<void(uint32_t)> set, bool stored) override;
  void BinaryProperty(std::string_view name, std::function<void(TMemoryStream&)> read,
                      std::function<void(TMemoryStream&)> write, bool hasData) override;

 private:
  std::string ReadIdent();
  void ReadInto(TComponent& component, const std::string& className, const std::string& name,
                std::vector<TComponent*>& loaded);
  [[noreturn]] void Fail(const std::string& componentName, const std::string& what) const;
  // True when the property just read is this one; checks its kind.
  bool Takes(std::string_view name, bool kindFits);
  int OrdinalOf(std::span<const char* const> identifiers, const std::string& ident) const;

  TMemoryStream& stream_;
  TComponent* current_ = nullptr;
  std::string property_;
  uint8_t kind_ = 0;
  bool taken_ = false;
};

}  // namespace help
