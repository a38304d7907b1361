#include "owned_tree_removal.h"

#include <windows.h>
#include <winternl.h>
#include <aclapi.h>

#include <QDir>
#include <memory>
#include <string>
#include <vector>

#include "file_disposition_win32.h"
#include "native_text_win32.h"

namespace platform {

std::function<void(const QString& path)> beforeEnteringFolder;

namespace {

// Deeper than anything a run makes; each level holds a handle.
constexpr int kDeepest = 32;

struct HandleClose {
  void operator()(void* handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleClose>;

// A folder's entry as its listing gave it: a link or junction is marked a reparse point there.
struct Entry {
  std::wstring name;
  DWORD attributes = 0;
  LONGLONG id = 0;
};

std::vector<Entry> entriesOf(HANDLE folder) {
  std::vector<Entry> entries;
  alignas(8) char listing[16384];
  while (GetFileInformationByHandleEx(folder, FileIdBothDirectoryInfo, listing, sizeof listing)) {
    for (const char* at = listing;;) {
      const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
      const std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
      if (name != L"." && name != L"..") entries.push_back({name, entry->FileAttributes, entry->FileId.QuadPart});
      if (!entry->NextEntryOffset) break;
      at += entry->NextEntryOffset;
    }
  }
  return entries;
}

// `name` in the folder `parent` holds, opened relative to that handle and as itself: a link or
// junction is not followed.
Handle openAt(HANDLE parent, const std::wstring& name, bool folder) {
  UNICODE_STRING text{USHORT(name.size() * sizeof(wchar_t)), USHORT(name.size() * sizeof(wchar_t)), const_cast<PWSTR>(name.c_str())};
  OBJECT_ATTRIBUTES object;
  InitializeObjectAttributes(&object, &text, OBJ_CASE_INSENSITIVE, parent, nullptr);
  IO_STATUS_BLOCK status;
  HANDLE opened = nullptr;
  const ACCESS_MASK access = DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE | (folder ? FILE_LIST_DIRECTORY | READ_CONTROL : 0);
  const ULONG share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const ULONG options = FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_FOR_BACKUP_INTENT;
  const NTSTATUS result = NtCreateFile(&opened, access, &object, &status, nullptr, 0, share, FILE_OPEN, options, nullptr, 0);
  return Handle(NT_SUCCESS(result) ? opened : nullptr);
}

// The user's SID, and the owner the system gives what this process makes (an elevated one's
// files belong to the Administrators).
bool isOurs(HANDLE file) {
  static const std::vector<std::vector<char>> ours = [] {
    std::vector<std::vector<char>> sids;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return sids;
    for (TOKEN_INFORMATION_CLASS which : {TokenUser, TokenOwner}) {
      DWORD size = 0;
      GetTokenInformation(token, which, nullptr, 0, &size);
      std::vector<char> information(size);
      if (!size || !GetTokenInformation(token, which, information.data(), size, &size)) continue;
      const PSID sid = which == TokenUser ? reinterpret_cast<TOKEN_USER*>(information.data())->User.Sid
                                          : reinterpret_cast<TOKEN_OWNER*>(information.data())->Owner;
      sids.emplace_back(static_cast<char*>(sid), static_cast<char*>(sid) + GetLengthSid(sid));
    }
    CloseHandle(token);
    return sids;
  }();
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR security = nullptr;
  if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr, &security) != ERROR_SUCCESS)
    return false;
  bool found = false;
  for (const std::vector<char>& sid : ours) found = found || EqualSid(owner, PSID(sid.data()));
  LocalFree(security);
  return found;
}

bool isReparsePoint(DWORD attributes) { return attributes & FILE_ATTRIBUTE_REPARSE_POINT; }
bool isFolder(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !isReparsePoint(attributes); }

// The folder held is the one listed, still a folder, and this user's: not a link or junction put
// in its place since (opened as itself, it shows as a reparse point, and as another file; Wine,
// which follows a Unix link, shows the file it leads to). A file system without file ids lists 0.
bool isListedFolderOfOurs(HANDLE held, const Entry& listed) {
  FILE_ATTRIBUTE_TAG_INFO tag{};
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandleEx(held, FileAttributeTagInfo, &tag, sizeof tag) || !isFolder(tag.FileAttributes) ||
      !GetFileInformationByHandle(held, &information))
    return false;
  const LONGLONG id = (LONGLONG(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
  return (listed.id == 0 || id == listed.id) && isOurs(held);
}

bool empty(HANDLE folder, const QString& path, int depth);

// Anything but a folder goes as itself: a link or junction, never what it leads to.
bool removeEntry(HANDLE parent, const Entry& entry, const QString& path, int depth) {
  const bool folder = isFolder(entry.attributes);
  const QString inner = path + '/' + QString::fromStdWString(entry.name);
  if (folder && depth >= kDeepest) return false;
  if (folder && beforeEnteringFolder) beforeEnteringFolder(inner);
  const Handle held = openAt(parent, entry.name, folder);
  if (!held) return false;
  if (folder && (!isListedFolderOfOurs(held.get(), entry) || !empty(held.get(), inner, depth + 1))) return false;
  return deleteHeldName(held.get());
}

bool empty(HANDLE folder, const QString& path, int depth) {
  bool emptied = true;
  for (const Entry& entry : entriesOf(folder)) emptied = removeEntry(folder, entry, path, depth) && emptied;
  return emptied;
}

}  // namespace

bool removeOwnedFolder(const QString& parent, const QString& name) {
  const HANDLE opened = CreateFileW(widePath(QDir::toNativeSeparators(parent).toStdWString()).c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return false;
  const Handle base(opened);
  // As the folder's listing shows it: where Wine stands on a Unix file system, only the listing
  // marks a link to a folder as one.
  const std::wstring wanted = name.toStdWString();
  for (const Entry& entry : entriesOf(base.get()))
    if (entry.name == wanted) return isFolder(entry.attributes) && removeEntry(base.get(), entry, parent, 0);
  return true;  // gone already
}

}  // namespace platform
