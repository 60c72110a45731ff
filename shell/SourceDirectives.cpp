#include "SourceDirectives.h"

#include "base/StringList.h"

namespace kes {

namespace {

bool HasAny(const std::string& lower, std::initializer_list<const char*> texts) {
    for (const char* t : texts)
        if (lower.find(t) != std::string::npos) return true;
    return false;
}

bool Has(const std::string& lower, const char* text) { return lower.find(text) != std::string::npos; }

}  // namespace

SourceLineKinds ClassifySourceLine(const std::string& line) {
    const std::string l = LowerAZ(line);
    SourceLineKinds k;
    k.log = HasAny(l, {"\\ log ", "( log "});
    k.backslashInclude = Has(l, "\\ include ");
    k.parenInclude = Has(l, "( include ");
    k.include = k.backslashInclude || k.parenInclude || Has(l, "#include ");
    k.hashEof = Has(l, "#eof");
    k.eof = k.hashEof || HasAny(l, {"\\ eof", "( eof"});
    k.skip = k.eof || HasAny(l, {"\\ include", "#include", "( include"});
    return k;
}

bool IsCommentLine(const std::string& line) { return !line.empty() && line[0] == '\\'; }

int CountCharInString(const std::string& ch, const std::string& text) {
    if (ch.size() != 1) return 0;
    int n = 0;
    for (char c : text)
        if (c == ch[0]) ++n;
    return n;
}

std::string GetParseFilename(const std::string& line) {
    if (CountCharInString("\"", line) == 2) {
        const size_t a = line.find('"');
        const size_t b = line.find('"', a + 1);
        return line.substr(a + 1, b - a - 1);
    }
    if (CountCharInString("<", line) == 1 && CountCharInString(">", line) == 1) {
        const size_t a = line.find('<');
        const size_t b = line.find('>');
        if (a < b) return line.substr(a + 1, b - a - 1);
    }
    const std::string l = LowerAZ(line);
    static const std::string kInclude = "include ";
    const size_t at = l.find(kInclude);
    if (at == std::string::npos) return {};
    std::string name = l.substr(at + kInclude.size());
    name = name.substr(0, name.find(' '));
    size_t first = 0;
    while (first < name.size() && static_cast<unsigned char>(name[first]) < 32) ++first;
    return name.substr(first);
}

}  // namespace kes
