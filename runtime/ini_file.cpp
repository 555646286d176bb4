#include "runtime/ini_file.h"

#include <cstddef>
#include <vector>

#include "runtime/codepage.h"
#include "runtime/file_commands.h"

namespace {

using Lines = std::vector<std::string>;

Lines splitLines(const Bytes& content) {
  Lines lines;
  std::string line;
  for (uint8_t b : content) {
    if (b == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line += char(b);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// ASCII-only folding: a GBK trail byte may look like a letter, so bytes of
// two-byte characters are compared as they are.
bool sameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  bool trail = false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = (unsigned char)a[i], y = (unsigned char)b[i];
    if (!trail && x < 0x80 && y < 0x80) {
      if (x >= 'A' && x <= 'Z') x = (unsigned char)(x + 32);
      if (y >= 'A' && y <= 'Z') y = (unsigned char)(y + 32);
    }
    if (x != y) return false;
    trail = !trail && (unsigned char)a[i] >= 0x80;
  }
  return true;
}

bool isSectionLine(const std::string& line, std::string* name) {
  std::string t = trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  if (name) *name = trim(t.substr(1, close - 1));
  return true;
}

bool isKeyLine(const std::string& line, const std::string& key) {
  size_t eq = line.find('=');
  return eq != std::string::npos && sameName(trim(line.substr(0, eq)), key);
}

// Index of the section header, or -1.
long findSection(const Lines& lines, const std::string& section) {
  std::string name;
  for (size_t i = 0; i < lines.size(); ++i)
    if (isSectionLine(lines[i], &name) && sameName(name, section)) return long(i);
  return -1;
}

Bytes joinLines(const Lines& lines) {
  Bytes out;
  for (const std::string& l : lines) {
    out.insert(out.end(), l.begin(), l.end());
    out.push_back('\r');
    out.push_back('\n');
  }
  return out;
}

}  // namespace

Bytes iniSetValue(const Bytes& content, const Text& section, const Text& key, const Text& value) {
  Lines lines = splitLines(content);
  const std::string entry = key + "=" + value;
  long header = findSection(lines, section);
  if (header < 0) {
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
    return joinLines(lines);
  }
  size_t end = size_t(header) + 1;  // one past the section's last entry
  for (size_t i = size_t(header) + 1; i < lines.size() && !isSectionLine(lines[i], nullptr); ++i) {
    if (isKeyLine(lines[i], key)) {
      lines[i] = entry;
      return joinLines(lines);
    }
    if (!trim(lines[i]).empty()) end = i + 1;
  }
  lines.insert(lines.begin() + long(end), entry);
  return joinLines(lines);
}

Text iniGetValue(const Bytes& content, const Text& section, const Text& key) {
  Lines lines = splitLines(content);
  long header = findSection(lines, section);
  if (header < 0) return {};
  for (size_t i = size_t(header) + 1; i < lines.size() && !isSectionLine(lines[i], nullptr); ++i)
    if (isKeyLine(lines[i], key)) return trim(lines[i].substr(lines[i].find('=') + 1));
  return {};
}

namespace {

bool isUtf16(const Bytes& content) {
  return content.size() >= 2 && content[0] == 0xFF && content[1] == 0xFE;
}

std::u16string utf16Of(const Bytes& content) {
  std::u16string text;
  for (size_t i = 2; i + 1 < content.size(); i += 2)
    text += char16_t(content[i] | (content[i + 1] << 8));
  return text;
}

Bytes utf16File(const std::u16string& text) {
  Bytes out = {0xFF, 0xFE};
  for (char16_t c : text) {
    out.push_back(uint8_t(c & 0xFF));
    out.push_back(uint8_t(c >> 8));
  }
  return out;
}

}  // namespace

bool iniWrite(const Text& file, const Text& section, const Text& key, const Text& value) {
  Bytes content;
  if (fileExists(file) && !readWholeFile(file, &content)) return false;
  // A file someone saved as UTF-16 stays UTF-16, as the profile functions
  // keep it; everything else is GBK bytes.
  if (isUtf16(content)) {
    Text gbkText = utf16ToGbk(utf16Of(content));
    Bytes edited = iniSetValue(Bytes(gbkText.begin(), gbkText.end()), section, key, value);
    return writeWholeFile(file, utf16File(gbkToUtf16(Text(edited.begin(), edited.end()))));
  }
  return writeWholeFile(file, iniSetValue(content, section, key, value));
}
