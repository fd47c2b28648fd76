// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/FatalError.hpp"

#include "platform/windows/Dialogs.hpp"

std::string FatalError::message() const {
    switch (code) {
    case 1:
        return "          Brak zasobów !\n\nProszę przeinstalować program.";
    case 2:
        return "Proszę zmienić rozdzielczość ekranu na 800 x 600 lub wyższą.";
    case 3:
        return "Plik statystyk nie został poprawnie stworzony.";
    case 4:
        return "Brak dostępu do pliku konfiguracyjnego programu. Program zakończy działanie.";
    case 99:
        return text;
    default:
        return {};
    }
}

void FatalError::showError(platform::Form* owner) const {
    platform::messageBox(owner, message(), "Wirowanki Cz.I Demo - Błąd", platform::MessageIcon::Information);
}
