#pragma once

// Writes the output file section by section, with the start banner and a
// progress line; closes the file and releases the section buffer.
void write_file();
