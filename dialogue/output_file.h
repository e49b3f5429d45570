#pragma once

// Takes the output file's name from the first argument, or asks for it, and
// stores its full path in the run state.
void select_output_file(int argc, char** argv);

// Creates the file at `path`, or empties it, and keeps its handle in the run
// state; ends the process with status 1 when that fails.
void create_output_file(const char* path);
