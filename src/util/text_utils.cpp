#include "util/text_utils.h"

namespace {

// The nine upper-case tables, built on first use from their description:
// "a" to "z" are raised everywhere, and above 0x7F each code page raises a
// few letters by 0x10 and a range of them by 0x20.
struct ByteRange {
    BYTE first;
    BYTE last;
};

struct TableRule {
    const BYTE* minus10;  // bytes lowered by 0x10, zero-terminated
    const ByteRange* minus20;  // ranges lowered by 0x20, ended by {0, 0}
};

const BYTE kNone[] = {0};
const ByteRange kNoRange[] = {{0, 0}};

const BYTE k1250Minus10[] = {0x9A, 0x9C, 0x9D, 0x9E, 0x9F, 0xB3, 0xBA, 0xBF, 0};
const ByteRange k1250Minus20[] = {{0xE0, 0xF6}, {0xF8, 0xFE}, {0, 0}};
const BYTE k1251Minus10[] = {0x90, 0x9A, 0x9C, 0x9D, 0x9E, 0x9F, 0xB8, 0xBA, 0xBF, 0};
const ByteRange k1251Minus20[] = {{0xE0, 0xFF}, {0, 0}};
const BYTE k1252Minus10[] = {0x9A, 0x9C, 0};
const ByteRange k1252Minus20[] = {{0xE0, 0xF6}, {0xF8, 0xFF}, {0, 0}};
const ByteRange k1253Minus20[] = {{0xE0, 0xF1}, {0xF3, 0xFE}, {0, 0}};
const BYTE k1254Minus10[] = {0x9A, 0x9C, 0};
const ByteRange k1254Minus20[] = {{0xE0, 0xF6}, {0xF8, 0xFE}, {0, 0}};
const BYTE k1256Minus10[] = {0x9C, 0};
const BYTE k1257Minus10[] = {0xBF, 0};
const ByteRange k1257Minus20[] = {{0xE0, 0xF6}, {0xF8, 0xFE}, {0, 0}};

const TableRule kRules[9] = {
    {k1250Minus10, k1250Minus20},  // 1250
    {k1251Minus10, k1251Minus20},  // 1251
    {k1252Minus10, k1252Minus20},  // 1252
    {kNone, k1253Minus20},         // 1253
    {k1254Minus10, k1254Minus20},  // 1254
    {kNone, kNoRange},             // 1255
    {k1256Minus10, kNoRange},      // 1256
    {k1257Minus10, k1257Minus20},  // 1257
    {kNone, kNoRange},             // any other
};

BYTE g_tables[9][256];
bool g_built = false;

void BuildTables() {
    for (int t = 0; t < 9; ++t) {
        BYTE* table = g_tables[t];
        for (int b = 0; b < 256; ++b) table[b] = static_cast<BYTE>(b);
        for (int b = 'a'; b <= 'z'; ++b) table[b] = static_cast<BYTE>(b - 0x20);
        for (const BYTE* p = kRules[t].minus10; *p != 0; ++p) table[*p] = static_cast<BYTE>(*p - 0x10);
        for (const ByteRange* r = kRules[t].minus20; r->first != 0; ++r) {
            for (int b = r->first; b <= r->last; ++b) table[b] = static_cast<BYTE>(b - 0x20);
        }
    }
    g_built = true;
}

}  // namespace

BYTE UpperCp(BYTE c) {
    if (!g_built) BuildTables();
    UINT codePage = GetACP();
    int table = (codePage >= 1250 && codePage <= 1257) ? static_cast<int>(codePage - 1250) : 8;
    return g_tables[table][c];
}

int CompareNoCaseN(const BYTE* first, const BYTE* second, int count) {
    for (int i = 0; i < count; ++i) {
        BYTE a = UpperCp(first[i]);
        BYTE b = UpperCp(second[i]);
        if (a < b) return -1;
        if (a > b) return 1;
    }
    return 0;
}
