#pragma once

// The operating-system family tags, searched for in the variable OS in this
// order; the entry shorter than two characters ends the table.
extern const char* const os_family_table[];

// The first tag of the table found in the value of OS, or an empty text.
const char* os_family();

// Whether files of 4 GiB and more can be written on this system.
bool allows_large_files();
