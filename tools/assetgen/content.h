#pragma once
// One entry point per content family. Each writes its files under `root` (the
// folder that holds Data/) and is deterministic.
#include <string>

namespace assetgen {

void WriteFonts(const std::string& root);
void WriteMd2Characters(const std::string& root); // McClane, the droid and the first-person gun
void WriteMd3Character(const std::string& root);  // lara with the railgun
void WriteScene3ds(const std::string& root);
void WriteXmlModel(const std::string& root);
void WriteImages2d(const std::string& root);
void WriteGuiContent(const std::string& root); // GUI demo images and sounds
void WriteOutdoor(const std::string& root); // terrain height image and rock texture

} // namespace assetgen
