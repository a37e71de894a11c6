#pragma once
// The help context map: a component that reads a help project's map file once,
// when its file name is set in the designer, and keeps the result as a sorted
// block of (hash of the context string, context number) records that is stored
// with the form, so that the program itself never needs the map file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "help/hxcomponent.h"

namespace help {

struct TContextRecord {
  int32_t Hash;
  int32_t Context;
  bool operator==(const TContextRecord&) const = default;
};

class THelpContextMap : public TComponent {
 public:
  explicit THelpContextMap(TComponent* owner);
  std::string ClassName() const override { return "THelpContextMap"; }

  const std::string& FileName() const { return fileName_; }
  // Outside the reading of the form storage a non-empty name is parsed at once
  // and its records replace the block; "File <name> not found." when there is
  // no such file. An empty name keeps the records.
  void SetFileName(const std::string& value);

  // The context number stored for the name, 0 when there is none.
  int32_t LookupContext(std::string_view name) const;

  // The stored "FileData": a 4-byte little-endian byte count, then the block.
  virtual void ReadFileData(TMemoryStream& stream);
  virtual void WriteFileData(TMemoryStream& stream);

  void DefineProperties(TFiler& filer) override;

  // Whole records in the block.
  size_t RecordCount() const { return block_.Size() / 8; }

 private:
  std::string fileName_;
  // Records as stored: hash, then context number, each 4 bytes little-endian,
  // in ascending order of the hash.
  TMemoryStream block_;
};

// Include files one map reads at most; one more is reported and skipped.
inline constexpr size_t kMaxIncludes = 1000;

// Adds the records of a map file to the list: from its "[MAP]" section, or with
// isInclude from the whole file. Include files are read where they are named,
// relative to the file that names them; one that is missing, already read, or
// beyond kMaxIncludes is reported and skipped. A file that cannot be read
// raises EInOutError.
void ParseMapFile(const std::string& file, bool isInclude, std::vector<TContextRecord>& records);

}  // namespace help
