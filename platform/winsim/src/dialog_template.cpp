// Dialog templates read from resource bytes, every field checked against
// the end of the data.
#include "winsim/dialog_template.h"

#include "winsim/resources.h"

namespace winsim {
namespace {

class Reader {
public:
    Reader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    bool Word(WORD* value) {
        if (pos_ + 2 > size_) return false;
        *value = static_cast<WORD>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }
    bool Short(short* value) {
        WORD word;
        if (!Word(&word)) return false;
        *value = static_cast<short>(word);
        return true;
    }
    bool Dword(DWORD* value) {
        WORD low, high;
        if (!Word(&low) || !Word(&high)) return false;
        *value = static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
        return true;
    }
    bool Byte(BYTE* value) {
        if (pos_ + 1 > size_) return false;
        *value = data_[pos_++];
        return true;
    }
    // A zero-terminated UTF-16 text, converted to ANSI.
    bool Text(std::string* text) {
        std::u16string wide;
        for (;;) {
            WORD c;
            if (!Word(&c)) return false;
            if (c == 0) break;
            wide += static_cast<char16_t>(c);
        }
        *text = ToAnsi(reinterpret_cast<const WCHAR*>(wide.data()), wide.size());
        return true;
    }
    // 0x0000: empty; 0xFFFF then an ordinal; otherwise a text.
    bool NameField(NameOrOrdinal* field) {
        if (pos_ + 2 > size_) return false;
        WORD first = static_cast<WORD>(data_[pos_] | (data_[pos_ + 1] << 8));
        if (first == 0xFFFF) {
            pos_ += 2;
            field->isOrdinal = true;
            return Word(&field->ordinal);
        }
        return Text(&field->text);
    }
    bool AlignDword() {
        pos_ = (pos_ + 3) & ~static_cast<std::size_t>(3);
        return pos_ <= size_;
    }
    bool Bytes(std::size_t count, std::vector<BYTE>* bytes) {
        if (count > size_ - pos_) return false;
        bytes->assign(data_ + pos_, data_ + pos_ + count);
        pos_ += count;
        return true;
    }

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

bool ReadItem(Reader& in, bool extended, DialogItem* item) {
    if (!in.AlignDword()) return false;
    if (extended) {
        if (!in.Dword(&item->helpId) || !in.Dword(&item->exStyle) || !in.Dword(&item->style)) return false;
    } else {
        if (!in.Dword(&item->style) || !in.Dword(&item->exStyle)) return false;
    }
    if (!in.Short(&item->x) || !in.Short(&item->y) || !in.Short(&item->cx) || !in.Short(&item->cy)) return false;
    if (extended) {
        if (!in.Dword(&item->id)) return false;
    } else {
        WORD id;
        if (!in.Word(&id)) return false;
        item->id = id;
    }
    if (!in.NameField(&item->windowClass) || !in.NameField(&item->title)) return false;
    // Creation data: a byte count, then the bytes (the count includes itself
    // in a DLGTEMPLATE when not zero).
    WORD count;
    if (!in.Word(&count)) return false;
    if (count == 0) return true;
    std::size_t bytes = count;
    if (!extended) bytes = count >= 2 ? count - 2 : 0;
    return in.Bytes(bytes, &item->creationData);
}

}  // namespace

std::string DialogItem::ClassName() const {
    if (!windowClass.isOrdinal) return windowClass.text;
    switch (windowClass.ordinal) {
        case 0x0080: return "Button";
        case 0x0081: return "Edit";
        case 0x0082: return "Static";
        case 0x0083: return "ListBox";
        case 0x0084: return "ScrollBar";
        case 0x0085: return "ComboBox";
        default: return "#" + std::to_string(windowClass.ordinal);
    }
}

bool ParseDialogTemplate(const unsigned char* data, std::size_t size, DialogTemplate* result) {
    DialogTemplate t;
    Reader in(data, size);
    WORD version = 0, signature = 0;
    if (size >= 4) {
        version = static_cast<WORD>(data[0] | (data[1] << 8));
        signature = static_cast<WORD>(data[2] | (data[3] << 8));
    }
    t.extended = version == 1 && signature == 0xFFFF;
    WORD count;
    if (t.extended) {
        if (!in.Word(&version) || !in.Word(&signature) || !in.Dword(&t.helpId) || !in.Dword(&t.exStyle) ||
            !in.Dword(&t.style)) {
            return false;
        }
    } else {
        if (!in.Dword(&t.style) || !in.Dword(&t.exStyle)) return false;
    }
    if (!in.Word(&count) || !in.Short(&t.x) || !in.Short(&t.y) || !in.Short(&t.cx) || !in.Short(&t.cy)) {
        return false;
    }
    if (!in.NameField(&t.menu) || !in.NameField(&t.windowClass) || !in.Text(&t.caption)) return false;
    if (t.style & DS_SETFONT) {
        if (!in.Word(&t.pointSize)) return false;
        if (t.extended && (!in.Word(&t.weight) || !in.Byte(&t.italic) || !in.Byte(&t.charset))) return false;
        if (!in.Text(&t.typeface)) return false;
    }
    for (WORD i = 0; i < count; ++i) {
        DialogItem item;
        if (!ReadItem(in, t.extended, &item)) return false;
        t.items.push_back(std::move(item));
    }
    *result = std::move(t);
    return true;
}

}  // namespace winsim
