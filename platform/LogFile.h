// The log of an unattended (or logged) run: UTF-8 with a byte-order mark, one
// line per step or message, each with its local time.
#pragma once

#include "platform/Files.h"

class LogFile {
public:
    LogFile() = default;
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Creates (or empties) the file, or with bAppend continues it. A relative
    // path is taken from the current folder; folders missing on the way are
    // made. Never written through a name: a path that is a link (junction,
    // symbolic link: kErrorReparsePoint) or a file with more than one name (a
    // hard link to someone else's file: ERROR_TOO_MANY_LINKS) is refused, so is
    // a file that was there, owned by anyone but Administrators, SYSTEM or this
    // account (ERROR_ACCESS_DENIED), and
    // with strIdentity (Files::IdentityOf) so is any other file than that one
    // (ERROR_FILE_INVALID). The failure when it cannot be written.
    WinResult Open(const CStringW& strPath, bool bAppend = false, const CStringW& strIdentity = CStringW());
    // Files::IdentityOf the open file; empty when none is open.
    CStringW Identity() const;
    bool IsOpen() const { return m_file.IsValid(); }
    // The full path the last Open took.
    const CStringW& Path() const { return m_strPath; }
    // Writes the time and the line; line breaks inside it become blanks, so a
    // message stays one line. Every character of any language is kept.
    void Write(const CStringW& strLine);
    // The same for the program's own text (GBK).
    void Write(const char* pszLine) { Write(CStringW::FromText(pszLine)); }

private:
    ScopedHandle m_file{INVALID_HANDLE_VALUE};
    CStringW m_strPath;
};
