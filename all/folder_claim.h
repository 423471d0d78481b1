#pragma once

// Makes this editor the only one working in the current folder: takes the
// folder's lock, then removes what interrupted saves left behind. False
// (after one console line) when another editor holds the folder; a folder
// that cannot be locked (read-only) is said so and used anyway.
bool ClaimFolder();
