// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class Catalogue;
class StatisticsFile;

// Program-wide objects, set while they exist (from their creation at start-up until teardown).
extern Catalogue* slowa;
extern StatisticsFile* statRec;
