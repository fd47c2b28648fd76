// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/core/Error.hpp"

#include <cerrno>
#include <cstring>

namespace platform {

std::string polishReason(int err, bool forWriting) {
    switch (err) {
    case 0:
        return "nieznany błąd";
    case ENOSPC:
    case EDQUOT:
        return "brak miejsca na dysku";
    case EFBIG:
        return "plik przekroczył dozwolony rozmiar (brak miejsca)";
    case EACCES:
    case EPERM:
        return forWriting ? "brak uprawnień do zapisu" : "brak uprawnień do odczytu";
    case EROFS:
        return "dysk jest tylko do odczytu";
    case ENOENT:
        return "plik nie istnieje";
    case ENOTDIR:
        return "brak folderu na ścieżce";
    case EISDIR:
        return "w tym miejscu jest folder, nie plik";
    case EEXIST:
        return "plik już istnieje";
    case EIO:
        return "błąd odczytu lub zapisu urządzenia";
    case ENOMEM:
        return "brak pamięci";
    case EMFILE:
    case ENFILE:
        return "zbyt wiele otwartych plików";
    case ENAMETOOLONG:
        return "zbyt długa nazwa pliku";
    case ELOOP:
        return "zapętlone dowiązania";
    case EBUSY:
    case ETXTBSY:
        return "plik jest zajęty";
    case EXDEV:
        return "nie można przenieść pliku między dyskami";
    case ENODEV:
    case ENXIO:
        return "brak urządzenia";
    default:
        return "błąd systemu nr " + std::to_string(err);
    }
}

} // namespace platform
