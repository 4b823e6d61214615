// What the player's frame and message loop does next, decided without the
// operating system so that the choice can be tested natively.
//
// The reel back end draws its own frames: until its first frame is on the
// screen no message is read, and afterwards a waiting message goes first;
// with nothing to read it shows a frame when one is due, else naps 1 ms.
// The other back ends draw from messages alone, so with none waiting the
// loop blocks until one arrives instead of spinning round.
#pragma once

#include "movie_options.h"

enum class MovieLoopStep {
  ReadMessage,  // remove one message and handle it
  WaitMessage,  // block until a message arrives
  Nap,          // sleep 1 ms: the next frame is not due yet
  ShowFrame,    // decode, copy and blit the next frame
};

struct MovieLoopState {
  MovieBackEnd backEnd = MovieBackEnd::VideoWindow;
  bool firstFrameShown = false;
  bool messageWaiting = false;
  bool frameDue = false;
};

MovieLoopStep NextMovieLoopStep(const MovieLoopState& state);
