// Narrow path rules; see Paths.h.
#include "framework/Paths.h"

namespace path {

namespace {
bool isTrailByte(unsigned char byte) { return byte >= 0x40 && byte != 0x7F && byte != 0xFF; }

// The step of the walks that take any text: a malformed byte is a character of its own.
std::size_t step(const std::string& text, std::size_t at, LeadByteTest isLeadByte) {
    std::size_t length = characterLength(text, at, isLeadByte);
    return length == 0 ? 1 : length;
}
}  // namespace

std::size_t characterLength(const std::string& text, std::size_t at, LeadByteTest isLeadByte) {
    unsigned char byte = static_cast<unsigned char>(text[at]);
    if (byte == 0) return 0;
    if (!isLeadByte(byte)) return 1;
    if (at + 1 >= text.size() || !isTrailByte(static_cast<unsigned char>(text[at + 1]))) return 0;
    return 2;
}

std::size_t lastSeparator(const std::string& text, LeadByteTest isLeadByte) {
    std::size_t found = std::string::npos;
    for (std::size_t at = 0; at < text.size(); at += step(text, at, isLeadByte)) {
        if (text[at] == '\\') found = at;
    }
    return found;
}

std::string withoutTrailingSeparator(std::string text, LeadByteTest isLeadByte) {
    if (!text.empty() && lastSeparator(text, isLeadByte) == text.size() - 1) text.pop_back();
    return text;
}

std::string folderOf(const std::string& text, LeadByteTest isLeadByte) {
    std::size_t separator = lastSeparator(text, isLeadByte);
    return separator == std::string::npos ? std::string() : text.substr(0, separator);
}

std::vector<std::string> names(const std::string& text, LeadByteTest isLeadByte) {
    std::vector<std::string> found(1);
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = step(text, at, isLeadByte);
        if (text[at] == '\\')
            found.emplace_back();
        else
            found.back().append(text, at, length);
        at += length;
    }
    return found;
}

std::string join(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

std::size_t charCount(const std::string& text, LeadByteTest isLeadByte) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += step(text, at, isLeadByte)) ++count;
    return count;
}

bool fitsLimit(const std::string& text, LeadByteTest isLeadByte, bool isFolder) {
    return charCount(text, isLeadByte) <= (isFolder ? kMaxFolderChars : kMaxPathChars);
}

}  // namespace path
