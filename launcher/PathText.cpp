#include "PathText.h"

AnsiString DirectoryPart(const AnsiString& path) {
    return path.SubString(1, path.LastDelimiter("\\:"));
}
