#pragma once
// Where a project's FTP password lives. With a keyring running it is kept there, keyed by the
// Host Name field's protocol and host and the user name, and the project file's password line
// stays empty; a project that keeps its password in its file (the user's choice, remembered
// per project file in "Sitorva.settings", since the file's ten header lines have no room for
// it), and any project while no keyring runs, keeps it in the file as it always did.
// Projects hold Windows-1252 text; the keyring holds UTF-8.

#include "core/Result.h"
#include "core/project/Project.h"
#include "core/settings/Settings.h"
#include "core/upload/Keyring.h"

#include <optional>
#include <string>

namespace stv
{

// The keyring key of the project's connection; nothing without a valid host or a user.
std::optional<KeyringKey> passwordKeyFor(const Project &project);

// Prepares `project` (a copy about to be written) for its file: a password that belongs in
// the keyring is stored there and taken out of the project. A failure says why the keyring
// could not take it, and the password then stays in the project.
Result<> movePasswordToKeyring(Project &project);

// After a load: a project whose password line is empty gets the keyring's password for its
// connection, when there is one. True when a password was filled in.
Result<bool> takePasswordFromKeyring(Project &project);

// The password --publish uses: SITORVA_PASSWORD's value when it is set, else the project's,
// else the keyring's for the project's connection (UTF-8, for the network).
std::string publishPassword(const Project &project, const char *fromEnvironment);

// The projects that keep their password in their file, by path (Windows-1252, as the recent
// list holds them).
bool keepsPasswordInFile(const Settings &settings, const std::string &projectPath);
void setKeepsPasswordInFile(Settings &settings, const std::string &projectPath, bool keep);

} // namespace stv
