#pragma once
// Subcommands of the zarvo-info asset inspector, one source file each.

// zarvo-info image FILE [--pam OUT.pam]
int RunImageInfo(int argc, char** argv);

// zarvo-info model FILE [--skin FILE] [--folder DIR] [--swap] [--json]
int RunModelInfo(int argc, char** argv);

// zarvo-info xml FILE [--tag NAME]
int RunXmlInfo(int argc, char** argv);
