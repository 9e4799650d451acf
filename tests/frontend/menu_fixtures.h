// What the front-end tests share: the menu's pictures and music written as small files into a
// scratch directory and loaded once, a way to tell which file a texture came from, and one menu
// frame run with the draw log on.
#pragma once

#include "platform/platform.h"
#include "support/fake_platform.h"
#include "world/game_state.h"

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

// Every menu picture in the order start-up loads them.
const std::vector<std::string>& menuPictureFiles();

// The sound the fixture music is made of: 60 seconds at 8000 samples a second.
constexpr int fixtureMusicRate = 8000;
constexpr int fixtureMusicSeconds = 60;

// The menu as loaded from the fixture files ("IMGS/...", "menu2.wav"), with the sound system
// started for it; loaded on first use and kept (copy it into a state).
const MenuState& loadedMenu();
// A clip loaded with the menu from "HIT.WAV": an effect, for the volume tests.
const SoundClip& effectClip();
// Shuts the sound system down and forgets the loaded menu, for a test that starts the program
// itself; the next loadedMenu loads it again.
void releaseLoadedMenu();

// Which fixture picture a texture holds: "" for none, "?" for one the fixtures did not make.
std::string pictureOf(std::uint32_t texture);

// A state whose menu is the loaded one, on screen and highlight as given, settings copies from
// the current gameSettings.
void resetMenuState(GameState& state, std::int32_t screen, std::int32_t selection);

// Sets the keys, runs one menu frame (background, screen, keys) and returns what it drew.
std::vector<DrawRecord> runMenuFrame(GameState& state, std::initializer_list<int> keys = {});

// The pictures of the sprites drawn, in order.
std::vector<std::string> picturesDrawn(const std::vector<DrawRecord>& log);
// The texts drawn, in order.
std::vector<DrawRecord> textsDrawn(const std::vector<DrawRecord>& log);

// Changes the working directory for its lifetime.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::filesystem::path& directory);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

  private:
    std::filesystem::path previous;
};

// A fresh directory under the system's temporary directory, removed with its contents.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::filesystem::path& path() const { return directory; }
    // Writes the bytes as they stand (no line-end translation) and returns the file's path.
    std::string write(const std::string& name, const std::string& bytes) const;

  private:
    std::filesystem::path directory;
};
