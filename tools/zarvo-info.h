#pragma once
// Subcommands of the zarvo-info asset inspector, one source file each.

// zarvo-info image FILE [--pam OUT.pam]
int RunImageInfo(int argc, char** argv);

#include <string>

#include "math/3DMath.h"

struct sBoundingBox;

// zarvo-info model FILE [--skin FILE] [--folder DIR] [--swap] [--json]
int RunModelInfo(int argc, char** argv);

// zarvo-info xml FILE [--tag NAME]
int RunXmlInfo(int argc, char** argv);
// zarvo-info md3 FOLDER NAME [WEAPON] [--json]
int RunMd3Info(int argc, char** argv);

// Shared output helpers: a JSON string, a vector and a box (JSON or plain text).
std::string Quote(const char* s);
std::string Vec(const CVector3& v, bool json);
std::string Box(const sBoundingBox& b, bool json);
// While loading for a JSON report, standard output goes to standard error so loader
// messages stay out of the document; End restores it.
int BeginQuietStdout(bool json);
void EndQuietStdout(int saved);
