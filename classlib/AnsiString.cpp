#include "AnsiString.h"

#include "Exception.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <windows.h>

namespace {

// Every growth of the text goes through here, so that no std::bad_alloc leaves the class.
template <typename Operation>
auto GuardAllocation(Operation operation) -> decltype(operation()) {
    try {
        return operation();
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    } catch (const std::length_error&) {
        throw EOutOfMemory();
    }
}

} // namespace

AnsiString::AnsiString(const char* text)
    : text_(GuardAllocation([text] { return text ? std::string(text) : std::string(); })) {}

AnsiString::AnsiString(const char* data, int length)
    : text_(GuardAllocation([data, length] {
          return (data && length > 0) ? std::string(data, static_cast<size_t>(length)) : std::string();
      })) {}

AnsiString::AnsiString(const AnsiString& other) : text_(GuardAllocation([&other] { return other.text_; })) {}

AnsiString& AnsiString::operator=(const AnsiString& other) {
    if (this != &other) {
        GuardAllocation([this, &other] { return &text_.assign(other.text_); });
    }
    return *this;
}

AnsiString AnsiString::StringOfChar(char ch, int count) {
    if (count <= 0) {
        return AnsiString();
    }
    return AnsiString(GuardAllocation([ch, count] { return std::string(static_cast<size_t>(count), ch); }));
}

AnsiString AnsiString::SubString(int start, int count) const {
    if (start < 1 || start > Length() || count < 0) {
        return AnsiString();
    }
    const int available = Length() - start + 1;
    return AnsiString(text_.data() + (start - 1), count < available ? count : available);
}

int AnsiString::Pos(const AnsiString& sub) const {
    if (IsEmpty() || sub.IsEmpty()) {
        return 0;
    }
    const size_t found = text_.find(sub.text_);
    return found == std::string::npos ? 0 : static_cast<int>(found) + 1;
}

AnsiString& AnsiString::Delete(int index, int count) {
    if (index < 1 || index > Length() || count <= 0) {
        return *this;
    }
    text_.erase(static_cast<size_t>(index - 1), static_cast<size_t>(count));
    return *this;
}

AnsiString AnsiString::UpperCase() const {
    AnsiString upper(*this);
    if (!upper.IsEmpty()) {
        // CharUpperBuffA keeps the length, so a position in the copy is the same position here.
        CharUpperBuffA(&upper.text_[0], static_cast<DWORD>(upper.text_.size()));
    }
    return upper;
}

int AnsiString::LastDelimiter(const AnsiString& delimiters) const {
    int last = 0;
    for (int i = 0; i < Length(); ++i) {
        const auto byte = static_cast<unsigned char>(text_[static_cast<size_t>(i)]);
        if (IsDBCSLeadByte(byte) && i + 1 < Length()) {
            ++i; // the trailing byte belongs to this character
            continue;
        }
        if (byte != 0 && std::memchr(delimiters.c_str(), byte, static_cast<size_t>(delimiters.Length()))) {
            last = i + 1;
        }
    }
    return last;
}

AnsiString& AnsiString::operator+=(const AnsiString& other) {
    GuardAllocation([this, &other] { return &text_.append(other.text_); });
    return *this;
}

AnsiString operator+(const AnsiString& left, const AnsiString& right) {
    AnsiString joined(left);
    joined += right;
    return joined;
}
