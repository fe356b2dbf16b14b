#include "platform/FolderSecurity.h"

#include <windows.h>

#include <aclapi.h>
#include <winternl.h>
#include <sddl.h>

#include "platform/Files.h"
#include "platform/Handle.h"

namespace FolderSecurity {

namespace {

ApplyFn g_applyForTesting = nullptr;
DescribeFn g_describeForTesting = nullptr;

// A security descriptor made from SDDL, freed when the object goes.
class Descriptor {
public:
    explicit Descriptor(const wchar_t* pszSddl)
    {
        if (pszSddl)
            ConvertStringSecurityDescriptorToSecurityDescriptorW(pszSddl, SDDL_REVISION_1, &m_sd, nullptr);
    }
    ~Descriptor()
    {
        if (m_sd)
            LocalFree(m_sd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    PSECURITY_DESCRIPTOR Get() const { return m_sd; }
    PSID Owner() const
    {
        PSID owner = nullptr;
        BOOL defaulted = FALSE;
        return m_sd && GetSecurityDescriptorOwner(m_sd, &owner, &defaulted) ? owner : nullptr;
    }
    // The list; *pPresent false when the descriptor has none.
    PACL Dacl(bool* pPresent) const
    {
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        *pPresent = m_sd && GetSecurityDescriptorDacl(m_sd, &present, &dacl, &defaulted) && present;
        return dacl;
    }

private:
    PSECURITY_DESCRIPTOR m_sd = nullptr;
};

// A descriptor read from disk (owner and list), freed when the object goes.
class DiskDescriptor {
public:
    // The folder's owner and list, read from the folder itself: a level that is
    // a junction or symbolic link is never read through (its target's list would
    // be judged), and counts as a link.
    explicit DiskDescriptor(const CStringW& path)
    {
        if (g_describeForTesting) {
            const wchar_t* sddl = g_describeForTesting(path);
            m_ok = sddl && ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &m_sd, nullptr);
            m_link = Files::IsLink(path);
            return;
        }
        const ScopedHandle object(CreateFileW(path.GetString(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                              nullptr));
        if (!object.IsValid())
            return;
        FILE_BASIC_INFO basic = {};
        m_link = GetFileInformationByHandleEx(object.Get(), FileBasicInfo, &basic, sizeof basic) &&
                 (basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        m_ok = GetSecurityInfo(object.Get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                               nullptr, nullptr, nullptr, nullptr, &m_sd) == ERROR_SUCCESS;
    }
    ~DiskDescriptor()
    {
        if (m_sd)
            LocalFree(m_sd);
    }
    DiskDescriptor(const DiskDescriptor&) = delete;
    DiskDescriptor& operator=(const DiskDescriptor&) = delete;
    bool Ok() const { return m_ok; }
    bool IsLink() const { return m_link; }
    PSECURITY_DESCRIPTOR Get() const { return m_sd; }
    // "DOMAIN\name" of the owner, or its SID as text; empty when there is none.
    CStringW OwnerName() const
    {
        PSID owner = nullptr;
        BOOL defaulted = FALSE;
        if (!m_sd || !GetSecurityDescriptorOwner(m_sd, &owner, &defaulted) || !owner)
            return CStringW();
        wchar_t name[256] = {}, domain[256] = {};
        DWORD cchName = 256, cchDomain = 256;
        SID_NAME_USE use;
        if (LookupAccountSidW(nullptr, owner, name, &cchName, domain, &cchDomain, &use))
            return *domain ? CStringW(domain) + L"\\" + CStringW(name) : CStringW(name);
        wchar_t* text = nullptr;
        if (!ConvertSidToStringSidW(owner, &text))
            return CStringW();
        const CStringW result(text);
        LocalFree(text);
        return result;
    }

private:
    PSECURITY_DESCRIPTOR m_sd = nullptr;
    bool m_ok = false;
    bool m_link = false;
};

// Administrators, SYSTEM, TrustedInstaller, CREATOR OWNER (stands for whoever
// creates a child), and the account given.
bool IsTrusted(PSID sid, PSID trusted)
{
    static const wchar_t* const kTrusted[] = {
        L"S-1-5-32-544",  // Administrators
        L"S-1-5-18",      // SYSTEM
        L"S-1-3-0",       // CREATOR OWNER
        L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",  // TrustedInstaller
    };
    if (!sid)
        return false;
    if (trusted && EqualSid(sid, trusted))
        return true;
    for (const wchar_t* text : kTrusted) {
        PSID known = nullptr;
        if (!ConvertStringSidToSidW(text, &known))
            continue;
        const bool same = EqualSid(sid, known) != FALSE;
        LocalFree(known);
        if (same)
            return true;
    }
    return false;
}

// Whether the list allows someone untrusted any of the rights in mask on the
// object itself (entries that only pass down to children do not count).
bool AllowsOthers(PSECURITY_DESCRIPTOR sd, DWORD mask, PSID trusted)
{
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!sd || !GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted))
        return false;
    if (present && !dacl)
        return true;  // no list at all: everyone may do everything
    if (!present)
        return false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(dacl, i, &ace))
            continue;
        const ACE_HEADER* header = static_cast<const ACE_HEADER*>(ace);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        const ACCESS_ALLOWED_ACE* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
        const DWORD granted = (allowed->Mask & GENERIC_ALL) ? FILE_ALL_ACCESS : allowed->Mask;
        if ((granted & mask) && !IsTrusted(const_cast<DWORD*>(&allowed->SidStart), trusted))
            return true;
    }
    return false;
}

bool OwnedByOthers(PSECURITY_DESCRIPTOR sd, PSID trusted)
{
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    return sd && GetSecurityDescriptorOwner(sd, &owner, &defaulted) && owner && !IsTrusted(owner, trusted);
}

bool Replaceable(PSECURITY_DESCRIPTOR folder, PSECURITY_DESCRIPTOR parent, PSID trusted)
{
    return OwnedByOthers(folder, trusted) || AllowsOthers(folder, DELETE | WRITE_DAC | WRITE_OWNER, trusted) ||
           (parent && AllowsOthers(parent, FILE_DELETE_CHILD, trusted));
}

// This program's account.
class CurrentUser {
public:
    CurrentUser()
    {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
            return;
        ScopedHandle owned(token);
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        m_buffer = size ? static_cast<TOKEN_USER*>(LocalAlloc(LPTR, size)) : nullptr;
        if (m_buffer && !GetTokenInformation(token, TokenUser, m_buffer, size, &size)) {
            LocalFree(m_buffer);
            m_buffer = nullptr;
        }
    }
    ~CurrentUser()
    {
        if (m_buffer)
            LocalFree(m_buffer);
    }
    CurrentUser(const CurrentUser&) = delete;
    CurrentUser& operator=(const CurrentUser&) = delete;
    PSID Sid() const { return m_buffer ? m_buffer->User.Sid : nullptr; }

private:
    TOKEN_USER* m_buffer = nullptr;
};

// Opened as itself (a link is never followed) to set its owner and list; a
// folder also for listing, and then held so that no one can rename, replace or
// turn it into a link while what lies below is walked (an open for the owner and
// list alone would not keep others out: it reads and writes no data).
ScopedHandle OpenForSecurity(const CStringW& path, bool bFolder)
{
    // READ_CONTROL too: setting a list reads the one there (the backup privilege
    // grants it where the list there forbids it).
    const DWORD access = READ_CONTROL | WRITE_DAC | WRITE_OWNER | (bFolder ? FILE_LIST_DIRECTORY : 0);
    const DWORD share = bFolder ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    return ScopedHandle(CreateFileW(path.GetString(), access, share, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// Owner and list may be set on what others own and forbid us: an administrator
// holds these privileges, disabled until asked for.
class PrivilegesEnabled {
public:
    PrivilegesEnabled()
    {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
            return;
        m_token.Reset(token);
        for (const wchar_t* name : {L"SeBackupPrivilege", L"SeRestorePrivilege", L"SeTakeOwnershipPrivilege"}) {
            TOKEN_PRIVILEGES wanted = {1, {{{0, 0}, SE_PRIVILEGE_ENABLED}}};
            TOKEN_PRIVILEGES before = {};
            DWORD size = sizeof before;
            if (LookupPrivilegeValueW(nullptr, name, &wanted.Privileges[0].Luid) &&
                AdjustTokenPrivileges(token, FALSE, &wanted, sizeof before, &before, &size) &&
                GetLastError() == ERROR_SUCCESS && before.PrivilegeCount == 1)
                m_before[m_count++] = before;
        }
    }
    ~PrivilegesEnabled()
    {
        for (int i = 0; i < m_count; ++i)
            AdjustTokenPrivileges(m_token.Get(), FALSE, &m_before[i], 0, nullptr, nullptr);
    }
    PrivilegesEnabled(const PrivilegesEnabled&) = delete;
    PrivilegesEnabled& operator=(const PrivilegesEnabled&) = delete;

private:
    ScopedHandle m_token;
    TOKEN_PRIVILEGES m_before[3] = {};
    int m_count = 0;
};

} // namespace

void SetApplyForTesting(ApplyFn fn)
{
    g_applyForTesting = fn;
}

void SetDescribeForTesting(DescribeFn fn)
{
    g_describeForTesting = fn;
}

WinResult Apply(const CStringW& strFolder, const wchar_t* pszSddl, bool bProtected)
{
    if (g_applyForTesting)
        return g_applyForTesting(strFolder, pszSddl, bProtected) ? WinResult() : WinResult(ERROR_ACCESS_DENIED);
    const Descriptor sd(pszSddl);
    bool present = false;
    PACL dacl = sd.Dacl(&present);
    if (!sd.Get() || !present)
        return WinResult(ERROR_INVALID_SECURITY_DESCR);
    const SECURITY_INFORMATION what =
        DACL_SECURITY_INFORMATION |
        (bProtected ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION);
    // The call takes a writable name; it does not write into it.
    return WinResult(SetNamedSecurityInfoW(const_cast<wchar_t*>(strFolder.GetString()), SE_FILE_OBJECT, what, nullptr,
                                           nullptr, dacl, nullptr));
}

WinResult CreateWith(const CStringW& strFolder, const wchar_t* pszSddl)
{
    if (g_applyForTesting) {
        if (!g_applyForTesting(strFolder, pszSddl, true))
            return WinResult(ERROR_ACCESS_DENIED);
        return Files::CreateFolder(strFolder);
    }
    const Descriptor sd(pszSddl);
    if (!sd.Get())
        return WinResult(ERROR_INVALID_SECURITY_DESCR);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, sd.Get(), FALSE};
    return WinResult::FromLastError(CreateDirectoryW(strFolder.GetString(), &attributes) != FALSE);
}

ScopedHandle CreateHeld(const CStringW& strFolder, const wchar_t* pszSddl, WinResult& result)
{
    // Only the native call makes a folder and opens it in one step; every Windows
    // has it, and it is looked up as the other late functions are.
    typedef NTSTATUS(NTAPI * CreateFn)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                                       ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
    typedef ULONG(NTAPI * ToErrorFn)(NTSTATUS);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto create =
        ntdll ? reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtCreateFile"))) : nullptr;
    const auto toError =
        ntdll ? reinterpret_cast<ToErrorFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlNtStatusToDosError")))
              : nullptr;
    const Descriptor sd(pszSddl);
    if (!create || !toError || !sd.Get()) {
        result = WinResult(sd.Get() ? ERROR_PROC_NOT_FOUND : ERROR_INVALID_SECURITY_DESCR);
        return ScopedHandle();
    }
    const CStringW nt = strFolder.StartsWithNoCase(L"\\\\") ? L"\\??\\UNC\\" + strFolder.Mid(2, strFolder.GetLength())
                                                          : L"\\??\\" + strFolder;
    const USHORT bytes = static_cast<USHORT>(nt.GetLength() * sizeof(wchar_t));
    UNICODE_STRING name = {bytes, bytes, const_cast<wchar_t*>(nt.GetString())};
    OBJECT_ATTRIBUTES attributes = {};
    attributes.Length = sizeof attributes;
    attributes.ObjectName = &name;
    attributes.Attributes = OBJ_CASE_INSENSITIVE;
    attributes.SecurityDescriptor = sd.Get();
    IO_STATUS_BLOCK io = {};
    HANDLE folder = nullptr;
    // Listing access, so that the share mode counts: no one may delete or rename it.
    const NTSTATUS status = create(&folder, FILE_LIST_DIRECTORY | READ_CONTROL | SYNCHRONIZE, &attributes, &io,
                                   nullptr, FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ, FILE_CREATE,
                                   FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT,
                                   nullptr, 0);
    result = status >= 0 ? WinResult() : WinResult(toError(status));
    return ScopedHandle(status >= 0 ? folder : nullptr);
}

WinResult ProtectItself(const CStringW& strFolder, const wchar_t* pszSddl)
{
    if (g_applyForTesting)
        return g_applyForTesting(strFolder, pszSddl, true) ? WinResult() : WinResult(ERROR_ACCESS_DENIED);
    const Descriptor sd(pszSddl);
    if (!sd.Get())
        return WinResult(ERROR_INVALID_SECURITY_DESCR);
    const PrivilegesEnabled privileges;
    const ScopedHandle held = OpenForSecurity(strFolder, true);
    FILE_BASIC_INFO basic = {};
    if (!held.IsValid() || !GetFileInformationByHandleEx(held.Get(), FileBasicInfo, &basic, sizeof basic))
        return WinResult::FromLastError(false);
    if ((basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || !(basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return WinResult(kErrorReparsePoint);
    // The kernel's own call sets the object alone; the Win32 ones would walk
    // into everything below, which others may have filled (and linked).
    const SECURITY_INFORMATION what =
        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION;
    return WinResult::FromLastError(SetKernelObjectSecurity(held.Get(), what, sd.Get()) != FALSE);
}

bool OthersCanReplace(const wchar_t* pszFolderSddl, const wchar_t* pszParentSddl, const wchar_t* pszTrustedSid)
{
    const Descriptor folder(pszFolderSddl);
    const Descriptor parent(pszParentSddl);
    PSID trusted = nullptr;
    if (pszTrustedSid)
        ConvertStringSidToSidW(pszTrustedSid, &trusted);
    const bool replaceable = Replaceable(folder.Get(), pszParentSddl ? parent.Get() : nullptr, trusted);
    if (trusted)
        LocalFree(trusted);
    return replaceable;
}

bool IsReplaceable(const CStringW& strFolder, CStringW& strOwner)
{
    const CurrentUser user;
    const CStringW level = Files::LongFullPathW(strFolder);
    const int cut = level.ReverseFind(L'\\');
    const CStringW parent = level.Left(cut == 2 ? 3 : cut);  // "C:\" keeps its backslash
    const DiskDescriptor folderSd(level);
    const DiskDescriptor parentSd(parent);
    strOwner = folderSd.OwnerName();
    // A link is judged as the way to somewhere else, which anyone may have set
    // up; a folder whose owner and list an administrator may not even read is
    // someone else's to change.
    return folderSd.IsLink() || !folderSd.Ok() ||
           Replaceable(folderSd.Get(), parentSd.Ok() ? parentSd.Get() : nullptr, user.Sid());
}

bool FindReplaceableFolder(const CStringW& strFolder, CStringW& strAtRisk, CStringW& strOwner)
{
    // Every level up to the drive's root, which is only ever looked at as a parent.
    for (CStringW level = Files::LongFullPathW(strFolder); level.GetLength() > 3;) {
        const int cut = level.ReverseFind(L'\\');
        if (cut < 2)
            break;
        if (Files::Exists(level) && IsReplaceable(level, strOwner)) {
            strAtRisk = level;
            return true;
        }
        level = level.Left(cut == 2 ? 3 : cut);
    }
    return false;
}

bool IsOwnedByOthers(const CStringW& strFolder, CStringW& strOwner)
{
    const CurrentUser user;
    const DiskDescriptor sd(strFolder);
    strOwner = sd.OwnerName();
    return !sd.Ok() || OwnedByOthers(sd.Get(), user.Sid());
}

bool FindEntryOpenToOthers(const CStringW& strFolder, const CStringW& strSkip, CStringW& strEntry, CStringW& strOwner)
{
    const CurrentUser user;
    FileFinder finder;
    for (bool more = finder.First(strFolder + L"\\*"); more; more = finder.Next()) {
        const CStringW name = finder.NameW();
        if (name == CStringW(L".") || name == CStringW(L"..") || name.EqualsNoCase(strSkip))
            continue;
        const DiskDescriptor sd(strFolder + L"\\" + name);
        // Writing, deleting (so replacing) or re-permitting it, or owning it.
        const DWORD change = FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE | WRITE_DAC | WRITE_OWNER;
        if (sd.IsLink() || !sd.Ok() || OwnedByOthers(sd.Get(), user.Sid()) || AllowsOthers(sd.Get(), change, user.Sid())) {
            strEntry = strFolder + L"\\" + name;
            strOwner = sd.OwnerName();
            return true;
        }
    }
    return false;
}

bool VolumeLacksAccessLists(const CStringW& strPath)
{
    wchar_t root[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(Files::LongFullPathW(strPath).GetString(), root, MAX_PATH))
        return false;
    DWORD flags = 0;
    return GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
           !(flags & FILE_PERSISTENT_ACLS);
}

} // namespace FolderSecurity
