#include "PlainRecordSections.h"

#include "CProfileText.h"
#include "CWatchItem.h"

#include <windows.h>

#include <cstring>

namespace {

// The index of a section named as the save names records, or -1.
long long RecordIndex(const std::string& upperName) {
    static const char kPrefix[] = "RECORD_";
    const size_t prefix = sizeof kPrefix - 1;
    if (upperName.compare(0, prefix, kPrefix) != 0 || upperName.size() == prefix ||
        upperName.size() > prefix + 10 ||
        (upperName[prefix] == '0' && upperName.size() > prefix + 1))
        return -1;
    long long index = 0;
    for (size_t i = prefix; i < upperName.size(); ++i) {
        if (upperName[i] < '0' || upperName[i] > '9')
            return -1;
        index = index * 10 + (upperName[i] - '0');
    }
    return index;
}

bool IsOwnKeyLine(const char* line, size_t length) {
    for (const char* key : CWatchItem::kKeyNames) {
        size_t n = std::strlen(key);
        if (length > n && line[n] == '=' && std::memcmp(line, key, n) == 0)
            return true;
    }
    return false;
}

bool IsBlank(char c) {
    return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == ' ';
}

} // namespace

std::unordered_set<std::string> PlainRecordSections(const std::string& raw,
                                                    const std::vector<std::string>& sectionNames,
                                                    int count) {
    const std::unordered_set<std::string> none;
    if (raw.empty())
        return none;
    unsigned char first = static_cast<unsigned char>(raw[0]);
    if (first == 0xef || first == 0xff || first == 0xfe || raw.find('\0') != std::string::npos)
        return none;
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, raw.data(), static_cast<int>(raw.size()),
                            nullptr, 0) == 0)
        return none;

    std::vector<std::string> headers;
    std::unordered_set<std::string> seen, mixed;
    std::string current;
    for (size_t pos = 0; pos < raw.size();) {
        size_t end = raw.find("\r\n", pos);
        if (end == std::string::npos)
            end = raw.size();
        const char* line = raw.data() + pos;
        size_t length = end - pos;
        pos = end + 2;
        if (std::memchr(line, '\r', length) || std::memchr(line, '\n', length))
            return none;
        if (length == 0)
            continue;
        if (IsBlank(line[0]))
            return none;
        if (line[0] == '[') {
            // A name with brackets or blanks inside may be cut differently by
            // another implementation of the format.
            if (length < 3 || line[length - 1] != ']' || IsBlank(line[1]) ||
                IsBlank(line[length - 2]) || std::memchr(line + 1, '[', length - 2) ||
                std::memchr(line + 1, ']', length - 2))
                return none;
            headers.emplace_back(line + 1, length - 2);
            current = CProfileText::UpperAscii(headers.back());
            seen.insert(current);
        } else if (!headers.empty() && !IsOwnKeyLine(line, length)) {
            mixed.insert(current);
        }
    }
    if (headers != sectionNames)
        return none;

    std::unordered_set<std::string> plain;
    for (const std::string& name : seen) {
        long long index = RecordIndex(name);
        if (index >= 0 && index < count && mixed.count(name) == 0)
            plain.insert(name);
    }
    return plain;
}
