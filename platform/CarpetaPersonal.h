#pragma once
// The user's home folder: $HOME, or where $HOME is unset or not absolute (a
// session started by a service, a bare `env -i`), the one the system's user
// database gives for this user.
#include <QString>

namespace quimbal {

QString CarpetaPersonal();

} // namespace quimbal
