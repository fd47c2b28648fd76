// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One child who plays: a name, a picture and a folder of their own under the user directory
// ("Dzieci\3"), holding the statistics file, the remembered settings, the recordings and the report.
// The folder is named by number, so any name is safe and renaming moves nothing.
struct Profile {
    int number = 0;
    std::string name;
    std::string picture; // a catalogue word's stem; empty for none
    // The game path of the child's folder under the user directory.
    std::string folder() const;
};

inline constexpr const char* kProfilesFolder = "Dzieci";
inline constexpr const char* kProfileFile = "dziecko.ini";
inline constexpr int kMaxNameLength = 40;

// The name as it is kept: spaces trimmed at both ends.
std::string trimmedName(std::string_view name);
// Why the name cannot be a child's (one Polish sentence), or empty when it can. Checks the trimmed name:
// valid UTF-8, 1-40 characters, no control characters or slashes, no other child's name (ignoring case;
// exceptNumber is the child being renamed).
std::string nameProblem(std::string_view name, const std::vector<Profile>& profiles, int exceptNumber = 0);

// Every child's profile, as folders under the user directory. Each profile is one folder with its own
// dziecko.ini; adding builds the folder aside and renames it into place, deleting renames it aside
// before removing it, so a kill at any moment leaves a whole profile or none.
class Profiles {
public:
    // Called after each step that changes the disk while profiles are opened (tests stop there).
    using StepHook = std::function<void(const std::string& step)>;

    // Reads the profiles. Finishes a move-in or removal a kill interrupted; at the first start moves an
    // old single-user directory (statistics, settings, recordings, report) into the first profile,
    // "Dziecko 1"; makes that profile when there is none. Never raises: what it could not do is in notes().
    void open(const StepHook& afterStep = {});
    // Reads the profiles as they are, changing nothing on disk (for a command run beside the program).
    void read();

    const std::vector<Profile>& all() const { return profiles_; }
    const Profile* find(int number) const;
    const Profile* findByName(std::string_view name) const;

    // Each returns empty on success, else the Polish reason (nothing changed then).
    std::string add(std::string_view name, std::string_view picture, int* number = nullptr);
    std::string rename(int number, std::string_view name);
    std::string setPicture(int number, std::string_view picture);
    // Removes the child's folder with everything in it.
    std::string remove(int number);

    // What opening mended or could not do (Polish), to be said once; empty when all went well.
    const std::string& notes() const { return notes_; }

private:
    std::vector<Profile> profiles_;
    std::string notes_;

    bool moveIn(const StepHook& afterStep);
    void readFolders(bool repair);
    bool writeProfile(const std::string& folderGamePath, const Profile& profile, std::string* error);
    int nextNumber() const;
};
