// Movie launch: the main program plays no movie itself; it rates the
// machine, builds the player's command line, starts RWMovie.exe from the
// program folder and waits, on the calling thread, for it to end. The sound
// device is released for the player and taken back afterwards (0x810E to the
// main frame). A held Ctrl key, a missing movie or a missing player skip the
// movie silently. Windows only; the OS-free part is movie_launch_core.h.
//
// Interface: GetMovieQuality, PlayIntroMovie, PlayKidsRoomMovie,
// PlayKidsTarnMovie, LaunchMovie, LaunchRoomMovie, StartMoviePlayer,
// FreeMovieThreadData, TestMciPlayback.
#pragma once

// 0 (no movie) to 3, from the processor benchmark and the display depth.
// With Home and End both held the score is shown.
int GetMovieQuality();

// 0 without a movie, else what the launch answers.
int PlayIntroMovie();
int PlayKidsRoomMovie();
int PlayKidsTarnMovie();  // no caller

// 1 when the player was started (and, waiting, has ended); 0 when skipped.
int LaunchMovie(const char* path, int level);
int LaunchRoomMovie(const char* path, int level);
// With `wait` the calling thread waits, the frame showing cursor 0; without
// it the wait runs on the worker "MOVIE_THREAD" (no caller uses that).
int StartMoviePlayer(const char* commandLine, int wait);
void FreeMovieThreadData(void* data);

// 1 when MCI opens and test-plays `name` (closed again); nothing calls it.
int TestMciPlayback(const char* name);
