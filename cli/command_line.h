#pragma once

/// Makes the folder that holds the running executable the current
/// directory, so relative arguments and all output resolve against it.
/// Silent; leaves the current directory as it was when that fails.
void enter_program_folder();

/// The whole tool after start-up: krovex [-x] <bnd_file> [dest_dir].
/// Returns the exit status.
int run_command_line(int argument_count, char** arguments);
