#include "platform/CarpetaPersonal.h"

#include <QDir>
#include <QFile>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace quimbal {

QString CarpetaPersonal() {
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty() && QDir::isAbsolutePath(home))
        return QDir::cleanPath(home);
    long largo = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> memoria(largo > 0 ? static_cast<std::size_t>(largo) : 16384);
    passwd entrada{};
    passwd* encontrada = nullptr;
    if (::getpwuid_r(::getuid(), &entrada, memoria.data(), memoria.size(), &encontrada) == 0 &&
        encontrada && encontrada->pw_dir && encontrada->pw_dir[0] == '/')
        return QDir::cleanPath(QFile::decodeName(encontrada->pw_dir));
    // Nobody knows this user: a folder that exists, never the root's.
    return QDir::tempPath();
}

} // namespace quimbal
