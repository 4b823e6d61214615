// The player's loop decision. See movie_loop.h.
#include "movie_loop.h"

MovieLoopStep NextMovieLoopStep(const MovieLoopState& state) {
  if (state.backEnd != MovieBackEnd::Reel)
    return state.messageWaiting ? MovieLoopStep::ReadMessage : MovieLoopStep::WaitMessage;
  if (state.firstFrameShown && state.messageWaiting) return MovieLoopStep::ReadMessage;
  return state.frameDue ? MovieLoopStep::ShowFrame : MovieLoopStep::Nap;
}
