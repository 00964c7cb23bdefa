#pragma once

// Puts a program's version text (dotted parts, such as "0.1.0") into the ELF section
// ".orvo_version", where ReadFileVersion (setup/archive/fileversion.h) finds it: that is the
// version the setup archive records for the file and compares before replacing an installed copy.
// Use it once, at namespace scope, in the source file holding main():
//     ORVO_EMBED_VERSION("0.1.0");
#define ORVO_EMBED_VERSION(text)                                                                   \
    [[gnu::used, gnu::retain,                                                                      \
        gnu::section(".orvo_version")]] static const char orvo_embedded_version[]                  \
        = text
