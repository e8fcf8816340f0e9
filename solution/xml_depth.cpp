#include "solution/xml_depth.h"

#include "solution/text.h"

#include <emmintrin.h>

#include <array>
#include <cstring>
#include <new>

namespace {

// The character classes of rapidxml's lookup tables that decide where a token ends, as a table of
// our own: one look-up per byte of every name in the file.
enum CharClass : unsigned char { SPACE = 1, NAME = 2, ATTRIBUTE_NAME = 4 };

constexpr std::array<unsigned char, 256> charClasses()
{
    std::array<unsigned char, 256> classes{};
    for (int c = 1; c < 256; ++c) {
        bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        bool name = !space && c != '/' && c != '>' && c != '?';
        bool attributeName = name && c != '<' && c != '=' && c != '!';
        classes[c] = (space ? SPACE : 0) | (name ? NAME : 0) | (attributeName ? ATTRIBUTE_NAME : 0);
    }
    return classes;
}

constexpr std::array<unsigned char, 256> CHAR_CLASSES = charClasses();

bool isSpace(char c)
{
    return (CHAR_CLASSES[static_cast<unsigned char>(c)] & SPACE) != 0;
}

bool isNameChar(char c)
{
    return (CHAR_CLASSES[static_cast<unsigned char>(c)] & NAME) != 0;
}

bool isAttributeNameChar(char c)
{
    return (CHAR_CLASSES[static_cast<unsigned char>(c)] & ATTRIBUTE_NAME) != 0;
}

void skipSpace(const char*& p)
{
    while (isSpace(*p))
        ++p;
}

// Up to the next "<" or the end. (A loop rather than strcspn: Wine's fills a table of 256 entries
// at every call, and it is called once per element.)
void skipText(const char*& p)
{
    while (*p != '\0' && *p != '<')
        ++p;
}

// Moves p past the next occurrence of terminator; false at the end of the text.
bool skipPast(const char*& p, const char* terminator)
{
    const char* found = strstr(p, terminator);
    if (!found)
        return false;
    p = found + strlen(terminator);
    return true;
}

// A DOCTYPE runs to the first ">" outside square brackets, which nest.
bool skipDoctype(const char*& p)
{
    int brackets = 0;
    for (; *p; ++p) {
        if (*p == '[')
            ++brackets;
        else if (*p == ']' && brackets > 0)
            --brackets;
        else if (*p == '>' && brackets == 0) {
            ++p;
            return true;
        }
    }
    return false;
}

// p is just after "<!": a comment, CDATA, DOCTYPE or another declaration, none of which nests.
bool skipDeclaration(const char*& p)
{
    if (strncmp(p, "!--", 3) == 0) {
        p += 3;
        return skipPast(p, "-->");
    }
    if (strncmp(p, "![CDATA[", 8) == 0) {
        p += 8;
        return skipPast(p, "]]>");
    }
    if (strncmp(p, "!DOCTYPE", 8) == 0 && isSpace(p[8])) {
        p += 9;
        return skipDoctype(p);
    }
    return skipPast(p, ">");
}

enum class Tag { opening, empty, malformed };

// p is just after "<" and at an element name. Reads the name and the attributes up to ">" or "/>".
Tag readStartTag(const char*& p)
{
    const char* name = p;
    while (isNameChar(*p))
        ++p;
    if (p == name)
        return Tag::malformed;
    skipSpace(p);
    while (isAttributeNameChar(*p)) {
        while (isAttributeNameChar(*p))
            ++p;
        skipSpace(p);
        if (*p != '=')
            return Tag::malformed;
        ++p;
        skipSpace(p);
        char quote = *p;
        if (quote != '"' && quote != '\'')
            return Tag::malformed;
        // A loop rather than strchr, a call of the runtime per attribute.
        for (++p; *p != quote; ++p) {
            if (*p == '\0')
                return Tag::malformed;
        }
        ++p;
        skipSpace(p);
    }
    if (*p == '>') {
        ++p;
        return Tag::opening;
    }
    if (p[0] == '/' && p[1] == '>') {
        p += 2;
        return Tag::empty;
    }
    return Tag::malformed;
}

// How many of the bytes from to to of text are a '>' that no '/' precedes.
size_t startTagEndsIn(const char* text, size_t from, size_t to)
{
    size_t count = 0;
    for (size_t i = from; i < to; ++i)
        count += text[i] == '>' && i > 0 && text[i - 1] != '/' ? 1 : 0;
    return count;
}

// startTagEndsIn(text, 0, end) for the bytes up to a multiple of four: four bytes at a time, most
// of which hold no '>'. Sets end.
size_t startTagEndsInWords(const char* text, size_t size, size_t& end)
{
    size_t count = 0;
    size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        uint32_t word;
        memcpy(&word, text + i, 4);
        if (anyZeroByte(word ^ '>' * EACH_BYTE) != 0)
            count += startTagEndsIn(text, i, i + 4);
    }
    end = i;
    return count;
}

// The same from byte 1 on, sixteen bytes at a time with SSE2: a block and the bytes one before it
// are compared at once.
__attribute__((target("sse2"))) size_t startTagEndsInBlocks(const char* text, size_t size, size_t& end)
{
    const __m128i close = _mm_set1_epi8('>');
    const __m128i slash = _mm_set1_epi8('/');
    size_t count = 0;
    size_t i = 1;
    for (; i + 16 <= size; i += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i - 1));
        __m128i ends = _mm_andnot_si128(_mm_cmpeq_epi8(before, slash), _mm_cmpeq_epi8(bytes, close));
        // A call of the runtime without the POPCNT instruction, and most blocks hold no '>'.
        if (unsigned found = static_cast<unsigned>(_mm_movemask_epi8(ends)))
            count += __builtin_popcount(found);
    }
    end = i;
    return count;
}

// Whether text holds more than limit bytes '>' that no '/' precedes. Only such a '>' ends a start
// tag that the parser descends into (a name, a space or a quote comes before it), so a text with
// no more of them can't nest deeper than limit. Most project files write their items as empty
// elements ("/>") and pass with this count, a fraction of the scan's cost.
bool startTagEndsAbove(const std::string& text, size_t limit)
{
    size_t end;
    size_t count = hasSse2() ? startTagEndsInBlocks(text.data(), text.size(), end)
                        : startTagEndsInWords(text.data(), text.size(), end);
    return count + startTagEndsIn(text.data(), end, text.size()) > limit;
}

}  // namespace

bool xmlDepthWithin(const char* text, size_t maxDepth)
{
    const char* p = text;
    if (strncmp(p, "\xEF\xBB\xBF", 3) == 0)
        p += 3;
    size_t depth = 0;
    for (;;) {
        // Outside the root only markup may follow; inside an element, text runs up to the next "<".
        if (depth == 0)
            skipSpace(p);
        else
            skipText(p);
        if (*p != '<')
            return true;  // the end, or text the parser rejects
        ++p;
        if (*p == '/') {
            if (depth == 0)
                return true;
            --depth;
            ++p;
            while (isNameChar(*p))
                ++p;
            skipSpace(p);
            if (*p != '>')
                return true;
            ++p;
        } else if (*p == '?') {
            ++p;  // the parser looks for "?>" after the "?" of "<?", so "<?>" ends nothing
            if (!skipPast(p, "?>"))
                return true;
        } else if (*p == '!') {
            if (!skipDeclaration(p))
                return true;
        } else {
            Tag tag = readStartTag(p);
            if (tag == Tag::malformed)
                return true;
            if (tag == Tag::opening && ++depth > maxDepth)
                return false;
        }
    }
}

bool parseXml(std::string& text, rapidxml::xml_document<>& document)
{
    if (text.empty() || (startTagEndsAbove(text, MAX_XML_DEPTH) && !xmlDepthWithin(text.c_str(), MAX_XML_DEPTH)))
        return false;
    try {
        document.parse<0>(&text[0]);
    } catch (const rapidxml::parse_error&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;  // a file whose nodes don't fit in memory is as good as unreadable
    }
    return true;
}
