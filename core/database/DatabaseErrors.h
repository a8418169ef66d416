#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zelk::db {

// An error of the data-access layer itself. Its text is the cursor's name, a
// colon and a blank, then the message ("ADOQuery2: Cannot perform this
// operation on an empty dataset").
class EDatabaseError : public std::runtime_error {
  public:
    EDatabaseError(std::string_view cursorName, std::string_view message);
};

// An error reported by the database engine (opening the file, running a
// statement, writing a change). It carries the engine's text only.
class EEngineError : public std::runtime_error {
  public:
    explicit EEngineError(const std::string& message, int code = 0);
    int code() const { return code_; }

  private:
    int code_;
};

// Message texts of the data-access layer.
namespace messages {
inline constexpr std::string_view kReadOnlyDataset = "Cannot modify a read-only dataset";
inline constexpr std::string_view kEmptyDataset =
    "Cannot perform this operation on an empty dataset";
inline constexpr std::string_view kClosedDataset =
    "Cannot perform this operation on a closed dataset";
inline constexpr std::string_view kNotEditing = "Dataset not in edit or insert mode";
}  // namespace messages

// "Field '%s' not found" with the field's name in place of %s.
std::string FieldNotFoundMessage(std::string_view field);


}  // namespace zelk::db
