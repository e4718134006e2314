#pragma once

#include <string>

// Counted text of single-byte characters in the ANSI code page, with value semantics.
// Positions are 1-based. Out-of-range starts and negative counts give empty results instead of
// errors; a failed allocation surfaces as EOutOfMemory.
class AnsiString {
  public:
    AnsiString() = default;
    AnsiString(const char* text);
    AnsiString(const char* data, int length);
    explicit AnsiString(std::string text) : text_(std::move(text)) {}
    AnsiString(const AnsiString& other);
    AnsiString(AnsiString&& other) noexcept = default;
    AnsiString& operator=(const AnsiString& other);
    AnsiString& operator=(AnsiString&& other) noexcept = default;
    ~AnsiString() = default;

    static AnsiString StringOfChar(char ch, int count);

    int Length() const { return static_cast<int>(text_.size()); }
    bool IsEmpty() const { return text_.empty(); }
    const char* c_str() const { return text_.c_str(); }
    const std::string& str() const { return text_; }

    // The character at 1-based position index; the caller keeps index within 1..Length().
    char operator[](int index) const { return text_[static_cast<size_t>(index - 1)]; }

    AnsiString SubString(int start, int count) const;
    int Pos(const AnsiString& sub) const;
    AnsiString& Delete(int index, int count);
    AnsiString UpperCase() const;
    // 1-based position of the last byte that is one of delimiters, or 0. A trailing byte of a
    // double-byte character in the ANSI code page is never taken for a delimiter.
    int LastDelimiter(const AnsiString& delimiters) const;

    AnsiString& operator+=(const AnsiString& other);
    friend AnsiString operator+(const AnsiString& left, const AnsiString& right);
    friend bool operator==(const AnsiString& left, const AnsiString& right) {
        return left.text_ == right.text_;
    }
    friend bool operator!=(const AnsiString& left, const AnsiString& right) { return !(left == right); }

  private:
    std::string text_;
};
