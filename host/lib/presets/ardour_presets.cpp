// Ardour's VST preset file: an XML file "vst-<ten-digit unique ID>" in its
// presets folder, root VSTPresets, one Preset element (uri, label, version,
// numParams) per preset with one Parameter (index, value) per parameter.
// The reader takes the small part of XML such a file uses: a declaration,
// comments, elements with quoted attributes, the five named entities and
// character references; text other than white space is an error.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "host/lib/presets/preset_files.h"

namespace zendrel::preset {

namespace {

struct Node {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<Node> children;
  int line = 1;
  const std::string* attribute(const char* key) const {
    for (const auto& a : attributes)
      if (a.first == key) return &a.second;
    return nullptr;
  }
};

// Deep enough for any preset file; bounds the recursion on hostile input.
constexpr int kMaxDepth = 8;

class Parser {
 public:
  Parser(const std::string& text, const std::string& file) : s_(text), file_(file) {}

  bool document(Node& root, std::string& error) {
    if (s_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
    if (!misc(true)) return fail(error);
    if (pos_ >= s_.size() || s_[pos_] != '<') {
      error_ = "no XML element found";
      return fail(error);
    }
    if (!element(root, 0)) return fail(error);
    if (!misc(false)) return fail(error);
    if (pos_ != s_.size()) {
      error_ = "content after the root element";
      return fail(error);
    }
    return true;
  }

 private:
  bool fail(std::string& error) {
    error = file_ + ": not a valid preset XML file: " + error_ + " (line " + std::to_string(line()) + ")";
    return false;
  }
  // The reader only moves forward, so the line count carries on from where it
  // was last asked for: one pass over the text in all, however many elements.
  int line() {
    for (; counted_ < pos_ && counted_ < s_.size(); ++counted_) line_ += s_[counted_] == '\n';
    return line_;
  }
  bool space(char c) const { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
  void skipSpace() {
    while (pos_ < s_.size() && space(s_[pos_])) ++pos_;
  }
  bool starts(const char* t) const { return s_.compare(pos_, std::char_traits<char>::length(t), t) == 0; }
  bool skipPast(const char* t, const char* what) {
    const size_t end = s_.find(t, pos_);
    if (end == std::string::npos) {
      error_ = std::string("unterminated ") + what;
      return false;
    }
    pos_ = end + std::char_traits<char>::length(t);
    return true;
  }
  // White space, comments and (before the root) the declaration.
  bool misc(bool prolog) {
    for (;;) {
      skipSpace();
      if (starts("<!--")) {
        if (!skipPast("-->", "comment")) return false;
      } else if (prolog && starts("<?")) {
        if (!skipPast("?>", "declaration")) return false;
      } else if (starts("<!")) {
        error_ = "document type declarations are not accepted";
        return false;
      } else {
        return true;
      }
    }
  }
  static bool nameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == ':';
  }
  bool name(std::string& out) {
    const size_t start = pos_;
    while (pos_ < s_.size() && nameChar(s_[pos_])) ++pos_;
    if (pos_ == start) {
      error_ = "a name was expected";
      return false;
    }
    out = s_.substr(start, pos_ - start);
    return true;
  }
  static void appendUtf8(std::string& out, unsigned long cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  bool value(std::string& out) {
    if (pos_ >= s_.size() || (s_[pos_] != '"' && s_[pos_] != '\'')) {
      error_ = "an attribute value in quotes was expected";
      return false;
    }
    const char quote = s_[pos_++];
    out.clear();
    while (pos_ < s_.size() && s_[pos_] != quote) {
      const char c = s_[pos_];
      if (c == '<') {
        error_ = "'<' inside an attribute value";
        return false;
      }
      if (c != '&') {
        out += c;
        ++pos_;
        continue;
      }
      // A reference is short: look for its ';' nearby only, so that a run of
      // bare '&' costs no search to the end of the text each.
      size_t semi = pos_ + 1;
      while (semi < s_.size() && semi - pos_ <= 10 && s_[semi] != ';') ++semi;
      if (semi >= s_.size() || s_[semi] != ';') {
        error_ = "an unterminated character reference";
        return false;
      }
      const std::string ref = s_.substr(pos_ + 1, semi - pos_ - 1);
      if (ref == "amp")
        out += '&';
      else if (ref == "lt")
        out += '<';
      else if (ref == "gt")
        out += '>';
      else if (ref == "quot")
        out += '"';
      else if (ref == "apos")
        out += '\'';
      else if (ref.size() > 1 && ref[0] == '#') {
        const bool hex = ref[1] == 'x';
        const std::string digits = ref.substr(hex ? 2 : 1);
        char* end = nullptr;
        const unsigned long cp = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
        if (digits.empty() || *end || digits[0] == '-' || digits[0] == '+' || cp == 0 || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
          error_ = "a bad character reference &" + ref + ";";
          return false;
        }
        appendUtf8(out, cp);
      } else {
        error_ = "an unknown entity &" + ref + ";";
        return false;
      }
      pos_ = semi + 1;
    }
    if (pos_ >= s_.size()) {
      error_ = "an unterminated attribute value";
      return false;
    }
    ++pos_;
    return true;
  }
  bool element(Node& node, int depth) {
    if (depth >= kMaxDepth) {
      error_ = "elements nested too deeply";
      return false;
    }
    node.line = line();
    ++pos_;  // '<'
    if (!name(node.name)) return false;
    for (;;) {
      const size_t before = pos_;
      skipSpace();
      if (pos_ >= s_.size()) {
        error_ = "an unterminated element <" + node.name + ">";
        return false;
      }
      if (starts("/>")) {
        pos_ += 2;
        return true;
      }
      if (s_[pos_] == '>') {
        ++pos_;
        break;
      }
      if (pos_ == before) {
        error_ = "white space was expected between attributes of <" + node.name + ">";
        return false;
      }
      std::pair<std::string, std::string> a;
      if (!name(a.first)) return false;
      skipSpace();
      if (pos_ >= s_.size() || s_[pos_] != '=') {
        error_ = "'=' was expected after the attribute " + a.first;
        return false;
      }
      ++pos_;
      skipSpace();
      if (!value(a.second)) return false;
      if (node.attribute(a.first.c_str())) {
        error_ = "the attribute " + a.first + " appears twice in <" + node.name + ">";
        return false;
      }
      node.attributes.push_back(std::move(a));
    }
    for (;;) {
      if (!misc(false)) return false;
      if (pos_ >= s_.size()) {
        error_ = "<" + node.name + "> is not closed";
        return false;
      }
      if (starts("</")) {
        pos_ += 2;
        std::string closing;
        if (!name(closing)) return false;
        skipSpace();
        if (closing != node.name || pos_ >= s_.size() || s_[pos_] != '>') {
          error_ = "</" + closing + "> does not close <" + node.name + ">";
          return false;
        }
        ++pos_;
        return true;
      }
      if (s_[pos_] != '<') {
        error_ = "unexpected text inside <" + node.name + ">";
        return false;
      }
      node.children.emplace_back();
      if (!element(node.children.back(), depth + 1)) return false;
    }
  }

  const std::string& s_;
  const std::string& file_;
  size_t pos_ = 0;
  size_t counted_ = 0;
  int line_ = 1;
  std::string error_;
};

bool parseLong(const std::string& s, long long& out) {
  if (s.empty() || !((s[0] >= '0' && s[0] <= '9') || s[0] == '-')) return false;
  char* end = nullptr;
  errno = 0;
  out = std::strtoll(s.c_str(), &end, 10);
  return *end == '\0' && errno == 0;
}

std::string escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

uint32_t fnv1a(const std::string& s) {
  uint32_t h = 2166136261u;
  for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h;
}

std::string decimalId(const Identity& id) { return std::to_string(static_cast<uint32_t>(id.uniqueId)); }

bool readPreset(const Node& n, const std::string& file, const Identity& id, std::set<std::string>& uris,
                Program& out, std::string& error) {
  const std::string where = file + " (line " + std::to_string(n.line) + ")";
  const std::string* uri = n.attribute("uri");
  const std::string* label = n.attribute("label");
  const std::string* count = n.attribute("numParams");
  if (!uri || !label || !count) {
    error = where + ": a Preset needs the attributes uri, label and numParams";
    return false;
  }
  // "VST:<ID>:<name>"; the ID as a decimal number, with or without the zeros
  // in front that make it ten digits.
  const size_t colon = uri->find(':', 4);
  long long uriId = 0;
  if (uri->compare(0, 4, "VST:") != 0 || colon == std::string::npos || colon + 1 == uri->size() ||
      !parseLong(uri->substr(4, colon - 4), uriId)) {
    error = where + ": the preset uri '" + *uri + "' is not of the form VST:<plug-in ID>:<name>";
    return false;
  }
  if (uriId != static_cast<uint32_t>(id.uniqueId) && uriId != id.uniqueId) {
    error = where + ": made for another plug-in: the uri '" + *uri + "' names ID " + std::to_string(uriId) +
            ", expected " + decimalId(id) + " (" + codeText(id.uniqueId) + ")";
    return false;
  }
  if (!uris.insert(*uri).second) {
    error = where + ": the uri '" + *uri + "' names two presets";
    return false;
  }
  long long params = 0;
  if (!parseLong(*count, params) || params != id.numParams) {
    error = where + ": numParams is '" + *count + "', the plug-in has " + std::to_string(id.numParams) +
            " parameters";
    return false;
  }
  Program p;
  p.name = *label;
  p.values.assign(static_cast<size_t>(id.numParams), 0.0f);
  std::vector<bool> seen(static_cast<size_t>(id.numParams), false);
  for (const Node& c : n.children) {
    const std::string at = file + " (line " + std::to_string(c.line) + ")";
    if (c.name == "Chunk") {
      error =
          at + ": the preset '" + *label + "' holds an opaque chunk; Zendrel's presets are parameter lists";
      return false;
    }
    if (c.name != "Parameter") {
      error = at + ": unexpected element <" + c.name + "> in a Preset";
      return false;
    }
    const std::string* index = c.attribute("index");
    const std::string* value = c.attribute("value");
    long long i = 0;
    if (!index || !value) {
      error = at + ": a Parameter needs the attributes index and value";
      return false;
    }
    if (!parseLong(*index, i) || i < 0 || i >= id.numParams) {
      error = at + ": parameter index '" + *index + "' is not one of 0.." + std::to_string(id.numParams - 1);
      return false;
    }
    if (seen[static_cast<size_t>(i)]) {
      error = at + ": parameter " + *index + " is given twice";
      return false;
    }
    char* end = nullptr;
    const float v = std::strtof(value->c_str(), &end);
    if (value->empty() || *end != '\0' || end == value->c_str()) {
      error = at + ": the value '" + *value + "' of parameter " + *index + " is not a number";
      return false;
    }
    if (!std::isfinite(v)) {
      error = at + ": parameter " + *index + " is not a finite number ('" + *value + "')";
      return false;
    }
    seen[static_cast<size_t>(i)] = true;
    p.values[static_cast<size_t>(i)] = v;
  }
  for (size_t i = 0; i < seen.size(); ++i) {
    if (!seen[i]) {
      error = where + ": the preset '" + *label + "' gives no value for parameter " + std::to_string(i);
      return false;
    }
  }
  out = std::move(p);
  return true;
}

}  // namespace

bool readArdour(const std::string& text, const std::string& file, const Identity& id, Bank& out,
                std::string& error) {
  Node root;
  Parser parser(text, file);
  if (!parser.document(root, error)) return false;
  if (root.name != "VSTPresets") {
    error = file + ": the root element is <" + root.name + ">, an Ardour preset file's is <VSTPresets>";
    return false;
  }
  Bank bank;
  std::set<std::string> uris;
  for (const Node& n : root.children) {
    if (n.name != "Preset") {
      error =
          file + " (line " + std::to_string(n.line) + "): unexpected element <" + n.name + "> in VSTPresets";
      return false;
    }
    Program p;
    if (!readPreset(n, file, id, uris, p, error)) return false;
    bank.programs.push_back(std::move(p));
  }
  if (bank.programs.empty()) {
    error = file + ": holds no presets";
    return false;
  }
  out = std::move(bank);
  return true;
}

std::string ardourText(const Bank& b, const Identity& id) {
  std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VSTPresets>\n";
  for (size_t k = 0; k < b.programs.size(); ++k) {
    const Program& p = b.programs[k];
    // The uri's last part only has to be unique within the file: a hash of the
    // label and the preset's place.
    char uri[64];
    std::snprintf(uri, sizeof uri, "VST:%s:x%08x%02x", decimalId(id).c_str(), fnv1a(p.name),
                  static_cast<unsigned>(k));
    s += "  <Preset uri=\"" + std::string(uri) + "\" label=\"" + escape(p.name) + "\" version=\"" +
         std::to_string(id.version) + "\" numParams=\"" + std::to_string(id.numParams) + "\">\n";
    for (int32_t i = 0; i < id.numParams; ++i) {
      const float v = static_cast<size_t>(i) < p.values.size() ? p.values[static_cast<size_t>(i)] : 0.0f;
      char line[96];
      // Nine significant digits bring every float back bit for bit.
      std::snprintf(line, sizeof line, "    <Parameter index=\"%d\" value=\"%.9g\"/>\n", i,
                    static_cast<double>(v));
      s += line;
    }
    s += "  </Preset>\n";
  }
  return s + "</VSTPresets>\n";
}

}  // namespace zendrel::preset
