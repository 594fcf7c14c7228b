#include "cstring.h"

#include "cwinapp.h"

namespace {
char g_emptyString[1] = {0};
}  // namespace

CString::CString() : m_pchData(g_emptyString), m_nLength(0), m_nAllocLength(0) {}

CString::CString(const CString& other) : CString() { Assign(other.m_pchData, other.m_nLength); }

CString::CString(LPCSTR text) : CString() { *this = text; }

CString::~CString() { Release(); }

CString& CString::operator=(const CString& other) {
    if (this != &other) Assign(other.m_pchData, other.m_nLength);
    return *this;
}

CString& CString::operator=(LPCSTR text) {
    Assign(text, text ? lstrlenA(text) : 0);
    return *this;
}

CString& CString::operator+=(LPCSTR text) {
    int added = text ? lstrlenA(text) : 0;
    if (added == 0) return *this;
    int oldLength = m_nLength;
    LPSTR buffer = GetBuffer(oldLength + added);
    if (buffer == 0) return *this;
    lstrcpynA(buffer + oldLength, text, added + 1);
    ReleaseBuffer(oldLength + added);
    return *this;
}

void CString::Empty() {
    Release();
    m_pchData = g_emptyString;
    m_nLength = 0;
    m_nAllocLength = 0;
}

void CString::Release() {
    if (m_pchData != g_emptyString) HeapFree(GetProcessHeap(), 0, m_pchData);
}

BOOL CString::Allocate(int nLength) {
    LPSTR data = static_cast<LPSTR>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(nLength) + 1));
    if (data == 0) return FALSE;
    data[0] = '\0';
    Release();
    m_pchData = data;
    m_nAllocLength = nLength;
    m_nLength = 0;
    return TRUE;
}

void CString::Assign(LPCSTR text, int length) {
    if (length == 0) {
        Empty();
        return;
    }
    if (length > m_nAllocLength || m_pchData == g_emptyString) {
        // Copy first: text may live in this string's own buffer.
        LPSTR data = static_cast<LPSTR>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(length) + 1));
        if (data == 0) {
            Empty();
            return;
        }
        lstrcpynA(data, text, length + 1);
        Release();
        m_pchData = data;
        m_nAllocLength = length;
    } else if (text != m_pchData) {
        lstrcpynA(m_pchData, text, length + 1);
    }
    m_pchData[length] = '\0';
    m_nLength = length;
}

LPSTR CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength < m_nLength) nMinBufLength = m_nLength;
    if (m_pchData != g_emptyString && nMinBufLength <= m_nAllocLength) return m_pchData;
    LPSTR data = static_cast<LPSTR>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(nMinBufLength) + 1));
    if (data == 0) return 0;
    lstrcpynA(data, m_pchData, m_nLength + 1);
    Release();
    m_pchData = data;
    m_nAllocLength = nMinBufLength;
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength) {
    if (m_pchData == g_emptyString) return;
    if (nNewLength < 0 || nNewLength > m_nAllocLength) {
        // The terminator, searched within the buffer only.
        nNewLength = 0;
        while (nNewLength < m_nAllocLength && m_pchData[nNewLength] != '\0') ++nNewLength;
    }
    m_pchData[nNewLength] = '\0';
    m_nLength = nNewLength;
}

BOOL CString::LoadString(UINT nID) {
    // LoadStringA tells no length: a text that fills the buffer may have
    // been cut, so try again with more room.
    for (int size = 256; size <= 8192; size *= 2) {
        LPSTR buffer = GetBuffer(size - 1);
        if (buffer == 0) {
            Empty();
            return FALSE;
        }
        int length = ::LoadStringA(AfxGetResourceHandle(), nID, buffer, size);
        if (length < size - 1) {
            ReleaseBuffer(length);
            if (length == 0) Empty();
            return length > 0;
        }
    }
    ReleaseBuffer(-1);
    return TRUE;
}

void CString::FormatV(LPCSTR lpszFormat, va_list args) {
    // wvsprintfA writes at most 1024 bytes.
    char buffer[1024];
    int length = wvsprintfA(buffer, lpszFormat, args);
    if (length < 0) length = 0;
    if (length > 1023) length = 1023;
    buffer[length] = '\0';
    Assign(buffer, length);
}

void CString::Format(LPCSTR lpszFormat, ...) {
    va_list args;
    va_start(args, lpszFormat);
    FormatV(lpszFormat, args);
    va_end(args);
}

void CString::Format(UINT nFormatID, ...) {
    CString format;
    if (!format.LoadString(nFormatID)) {
        Empty();
        return;
    }
    va_list args;
    va_start(args, nFormatID);
    FormatV(format, args);
    va_end(args);
}
