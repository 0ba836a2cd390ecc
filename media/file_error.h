// The one message the media layer shows: a data file that cannot be read.
#pragma once

// A warning box with the file's name as its text, the pointer shown while
// the box is open ("Error reading file" for an effect, "Error loading file"
// for the music).
void ShowFileError(const char* fileName, const char* caption);
