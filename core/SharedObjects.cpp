// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/SharedObjects.hpp"

Catalogue* slowa = nullptr;
StatisticsFile* statRec = nullptr;
