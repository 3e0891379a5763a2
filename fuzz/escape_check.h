#pragma once

// An independent look at where a planned output path lands: the path is
// resolved the way Linux and the way Windows would resolve it, component by
// component, instead of asking whether it contains a forbidden name.

/// Whether output_path, which the tool planned below output_root, resolves
/// to a place inside output_root on Linux and on Windows. False when it
/// leaves it, names a drive or a device, or does not begin with the root.
bool stays_inside(const char* output_root, const char* output_path);
