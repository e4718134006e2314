#pragma once

#include "AnsiString.h"
#include "WideText.h"

#include <optional>
#include <string>

// The launcher's own path in a form that the ANSI calls can open. A folder named in letters that
// the system's ANSI code page lacks ("C:\Иван\" under 1252) reaches an ANSI program as "?"s that
// name nothing; its short (8.3) name is made of characters the code page has.

// Which form to use: the long path whenever it converts without loss (then nothing differs from
// reading the path through the ANSI call), else the short form when it does; none when neither
// can be written (8.3 names switched off give back the long path as the "short" one).
std::optional<AnsiString> ChooseAnsiExePath(const CodePageText& longPath,
                                            const std::optional<CodePageText>& shortPath);

// The short form of an existing path, or none when the system gives none.
using ShortPathLookup = std::optional<std::wstring> (*)(const std::wstring& longPath);
std::optional<std::wstring> SystemShortPath(const std::wstring& longPath);

// The running program's full path as Unicode, however long it is.
std::wstring OwnExePathW();

// longPath in the ANSI code page as chosen above; the short form is looked up only when needed.
std::optional<AnsiString> AnsiExePath(const std::wstring& longPath, ShortPathLookup shortPathOf);

// The text up to and including the last "\" or ":" of a Unicode path; empty when it holds neither.
std::wstring WideDirectoryPart(const std::wstring& path);
