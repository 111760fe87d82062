#pragma once
// Where the engine finds the files it opens by a relative name ("Data/Font/font.tga",
// "shaders/color.vert"). The working directory comes first, as it always has; then the
// data roots:
//   - $ZARVO_DATA_DIR alone, when it is set;
//   - otherwise the nearest folder at or above the executable's own that holds Data/ or
//     shaders/ (a build tree beside its source, or a game shipped with its data), then
//     the installed share/zarvo with the built-in shaders and start-up fonts.
// A name found nowhere comes back unchanged, so messages still show what was asked for.
#include <string>
#include <vector>

// The existing file for `path`, or `path` itself. Absolute paths are left alone.
std::string ResolveDataPath(const std::string& path);

// The data roots that exist, in look-up order (for messages and the inspector).
std::vector<std::string> DataRoots();
