// Owners and access lists of the folders the setup creates or takes over: the
// only code that reads or sets file security. Paths and SDDL are wide, as the
// wide functions of Windows take them.
#pragma once

#include "framework/StringW.h"
#include "platform/Handle.h"
#include "platform/WinResult.h"

// Administrators and SYSTEM full control, Users read and execute, nothing
// inherited from above: what a folder needs whose contents every user's AutoCAD
// loads, as Program Files has it.
#define TRABEX_PROTECTED_DACL L"D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)"
// The same list with Administrators as owner (an owner may always rewrite the
// list): every folder the setup creates on the way, or takes over, gets it.
constexpr wchar_t kProtectedFolderSddl[] = L"O:BA" TRABEX_PROTECTED_DACL;

namespace FolderSecurity {

// Sets the folder's access list from SDDL (e.g. "D:PAI(A;OICI;FA;;;BA)..."):
// bProtected cuts inheritance from the parent; otherwise the parent's
// inheritable entries stay and the list's entries come on top. Existing files
// and folders below inherit the result. The failure says why Windows refused.
WinResult Apply(const CStringW& strFolder, const wchar_t* pszSddl, bool bProtected);
// Creates one folder level with the owner and access list of the SDDL in the
// same call: there is no moment in which another user could take it over.
WinResult CreateWith(const CStringW& strFolder, const wchar_t* pszSddl);
// Creates one folder level as CreateWith does and keeps it open in the same
// call: while the handle lives no one can rename, delete or replace it, nor a
// folder above it. An invalid handle and the reason in result when it cannot be
// made, also when something is there already.
ScopedHandle CreateHeld(const CStringW& strFolder, const wchar_t* pszSddl, WinResult& result);
// Gives the folder itself (opened as itself, never through a link) the owner
// and list of the SDDL, its list cut from its parent, and passes nothing down:
// what lies below keeps its own (others may have put it there). A folder that
// is a link is refused (kErrorReparsePoint).
WinResult ProtectItself(const CStringW& strFolder, const wchar_t* pszSddl);

// Whether anyone but Administrators, SYSTEM, TrustedInstaller or the account
// trustedSid could replace the folder (rename or delete it, or change its access
// list): as its owner, through an entry of its list that allows DELETE,
// WRITE_DAC or WRITE_OWNER, or through its parent's list allowing the deletion
// of what the parent holds. The descriptors in SDDL; parentSddl may be NULL.
bool OthersCanReplace(const wchar_t* pszFolderSddl, const wchar_t* pszParentSddl, const wchar_t* pszTrustedSid);
// The same for one folder on disk, read as itself (not through a link): a
// folder that is a link, or whose owner and list cannot be read, counts as
// replaceable. strOwner names its owner (empty when unknown).
bool IsReplaceable(const CStringW& strFolder, CStringW& strOwner);
// The same for the folder and every existing folder above it (the drive root
// only as a parent); the first one others could replace in strAtRisk, its owner
// in strOwner.
bool FindReplaceableFolder(const CStringW& strFolder, CStringW& strAtRisk, CStringW& strOwner);
// True when the folder's owner, read as itself, is someone other than
// Administrators, SYSTEM, TrustedInstaller or this program's account (also when
// it cannot be read); strOwner names the owner.
bool IsOwnedByOthers(const CStringW& strFolder, CStringW& strOwner);
// The first entry directly in the folder (but strSkip) that others could change
// (write, delete, re-permit) or own, or that is a link; read as itself. False
// when there is none.
bool FindEntryOpenToOthers(const CStringW& strFolder, const CStringW& strSkip, CStringW& strEntry, CStringW& strOwner);
// True when the volume the path lies on says it keeps no access lists (FAT32,
// exFAT); false for NTFS, and when no volume answers (a drive this program does
// not see: the folder then cannot be made, which is told as such).
bool VolumeLacksAccessLists(const CStringW& strPath);

// Tests see what would be applied instead of changing the disk; NULL restores.
// CreateWith still creates the folder (without the list) and ProtectItself only
// tells; the SDDL applied arrives with bProtected true for both.
typedef bool (*ApplyFn)(const CStringW& strFolder, const wchar_t* pszSddl, bool bProtected);
void SetApplyForTesting(ApplyFn fn);
// Tests give the owner and list of each folder on disk (SDDL; NULL: it cannot
// be read), as Windows would keep them; NULL restores.
typedef const wchar_t* (*DescribeFn)(const CStringW& strFolder);
void SetDescribeForTesting(DescribeFn fn);

} // namespace FolderSecurity
