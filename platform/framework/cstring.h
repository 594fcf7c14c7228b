// CString: an 8-bit text on the process heap, with the operations the
// installer uses. When memory runs out a string stays empty rather than
// failing: no exceptions exist here.
#pragma once

#include <windows.h>

class CString {
public:
    CString();
    CString(const CString& other);
    CString(LPCSTR text);  // NOLINT: converts like the framework's
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(LPCSTR text);
    CString& operator+=(LPCSTR text);

    int GetLength() const { return m_nLength; }
    BOOL IsEmpty() const { return m_nLength == 0; }
    void Empty();
    operator LPCSTR() const { return m_pchData; }
    char GetAt(int index) const { return m_pchData[index]; }

    // A writable buffer of at least nMinBufLength characters and a
    // terminator; ReleaseBuffer takes the length back (by the terminator
    // when nNewLength is -1). NULL when no memory could be had.
    LPSTR GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);

    // Loads a string of the module's string table; FALSE when there is none.
    BOOL LoadString(UINT nID);
    // printf-style formatting of a string-table string or a format text.
    void Format(UINT nFormatID, ...);
    void Format(LPCSTR lpszFormat, ...);
    void FormatV(LPCSTR lpszFormat, va_list args);

private:
    BOOL Allocate(int nLength);
    void Release();
    void Assign(LPCSTR text, int length);

    LPSTR m_pchData;
    int m_nLength;
    int m_nAllocLength;
};
