#include "core/mbcs.h"

namespace tarnwick {

namespace {

// Second bytes of the small Cyrillic letters skip 0x7F, which is no trail byte.
constexpr unsigned kCyrillicSmallFirst = 0x8470;
constexpr unsigned kCyrillicCapitalFirst = 0x8440;
constexpr unsigned kCyrillicLetters = 33;

unsigned UpperDoubleByte(unsigned code) {
    if (code >= 0x8281 && code <= 0x829A) return code - 0x21;  // full-width a-z
    if (code >= 0x83BF && code <= 0x83D6) return code - 0x20;  // Greek
    if (code >= kCyrillicSmallFirst && code <= 0x8491 && code != 0x847F) {
        unsigned index = code - kCyrillicSmallFirst - (code > 0x847F ? 1 : 0);
        if (index < kCyrillicLetters) return kCyrillicCapitalFirst + index;
    }
    return code;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::size_t CharLength(std::string_view text, std::size_t i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) return 2;
    return 1;
}

std::string UpperCase(std::string_view text) {
    std::string out;
    UpperCaseInto(text, out);
    return out;
}

void UpperCaseInto(std::string_view text, std::string& out) {
    out.assign(text);
    char* bytes = out.data();  // the watch cycle upper-cases every process's name
    const std::size_t size = out.size();
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            if (c >= 'a' && c <= 'z') bytes[i] = static_cast<char>(c - 'a' + 'A');
        } else if (IsLeadByte(c) && i + 1 < size) {
            const unsigned upper = UpperDoubleByte((c << 8) | static_cast<unsigned char>(bytes[i + 1]));
            bytes[i] = static_cast<char>(upper >> 8);
            bytes[++i] = static_cast<char>(upper & 0xFF);
        }
    }
}

std::string_view CutToFit(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + CharLength(text, end);
        if (next > limit) break;
        end = next;
    }
    return text.substr(0, end);
}

std::size_t TerminateInBuffer(char* buffer, std::size_t size) {
    if (size == 0) return 0;
    std::size_t length = 0;
    while (length < size - 1 && buffer[length] != '\0') ++length;
    if (length == size - 1) {
        // A full buffer may have been cut inside a character: drop a lone lead byte.
        std::size_t last = 0;
        for (std::size_t i = 0; i < length; i += CharLength(std::string_view(buffer, length), i)) last = i;
        if (length > 0 && last == length - 1 && IsLeadByte(static_cast<unsigned char>(buffer[last]))) --length;
    }
    buffer[length] = '\0';
    return length;
}

void CopyToBuffer(std::string_view text, char* buffer, std::size_t size) {
    if (size == 0) return;
    std::string_view fitting = CutToFit(text, size - 1);
    fitting.copy(buffer, fitting.size());
    buffer[fitting.size()] = '\0';
}

PathParts SplitPath(std::string_view path) {
    PathParts parts;
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == ':' && !IsLeadByte(static_cast<unsigned char>(path[0]))) {
        parts.drive = std::string(path.substr(0, 2));
        start = 2;
    }
    // Walk by characters so that a second byte 0x5C is never taken for a separator.
    std::size_t nameStart = start;
    std::size_t lastDot = std::string_view::npos;
    for (std::size_t i = start; i < path.size();) {
        std::size_t length = CharLength(path, i);
        if (length == 1 && IsSeparator(path[i])) {
            nameStart = i + 1;
            lastDot = std::string_view::npos;
        } else if (length == 1 && path[i] == '.') {
            lastDot = i;
        }
        i += length;
    }
    parts.directory = std::string(path.substr(start, nameStart - start));
    if (lastDot == std::string_view::npos) {
        parts.name = std::string(path.substr(nameStart));
    } else {
        parts.name = std::string(path.substr(nameStart, lastDot - nameStart));
        parts.extension = std::string(path.substr(lastDot));
    }
    return parts;
}

std::string BaseName(std::string_view path) {
    PathParts parts = SplitPath(path);
    return parts.name + parts.extension;
}

std::string FolderOf(std::string_view path) {
    const PathParts parts = SplitPath(path);
    return parts.drive + parts.directory;
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    bool endsInBackslash = false;
    for (std::size_t i = 0; i < directory.size(); i += CharLength(directory, i)) {
        endsInBackslash = directory[i] == '\\' && i + 1 == directory.size();
    }
    std::string joined(directory);
    if (!endsInBackslash) joined += '\\';
    return joined += name;
}

}  // namespace tarnwick
