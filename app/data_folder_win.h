// Finding and creating the per-user data folder, and the single-instance marker.
#pragma once

#include <string>

namespace orvane {

// The per-user data folder, always ending in "\"; set once by PrepareDataFolder.
extern std::wstring DataFolder;
// The same path on the all-users base; set only when PrepareDataFolder is asked for all users.
extern std::wstring CommonDataFolder;

// The shell folder of the index (0 documents, 1 roaming application data, 2 local application data,
// 3 all users' application data, 4 pictures, 5 all users' documents), without a trailing separator.
// Empty text when the shell cannot supply it or the index is unknown.
std::wstring GetShellFolderPath(int index);

// Builds "<base>\Norrow Project\<name>\", creating the two folders when missing, stores it in
// DataFolder (or CommonDataFolder) and tells whether that folder exists afterwards.
bool PrepareDataFolder(const std::wstring& name, bool allUsers);

// The name of the mutex whose existence marks a running instance.
inline constexpr wchar_t kInstanceMutexName[] = L"Orvane/Norrow Project";

// Creates the instance mutex in one atomic step. True when this process may run: it is the first
// instance (the handle then stays open for the life of the process), or the name is taken by an object
// that is no mutex, so no instance can be marked. False when another instance already holds the mutex.
bool ClaimSingleInstance();

} // namespace orvane
