#include "markup_player.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "square_names.h"

namespace {

int Upper(char c) { return std::toupper(static_cast<unsigned char>(c)); }

bool Ready(const VoiceClip* clip) { return clip && clip->player && clip->host; }

// Every end of the step lowers the poll counter once.
int FinishStep(VoiceClip* clip) {
  if (clip && clip->host) clip->host->ChangePollCount(0);
  return 1;
}

int KeepRunning(VoiceClip* clip) { return clip->player->stop ? FinishStep(clip) : 0; }

// The argument of "L:..." forms: the text after the colon that follows the
// letter (and its one modifier character), else after the letter.
const char* Argument(const char* text) {
  if (!text[0]) return text;
  if (text[1] == ':') return text + 2;
  if (text[1] && text[2] == ':') return text + 3;
  return text + 1;
}

std::string Cut(const char* text) {
  size_t n = 0;
  while (n < kMarkupArgumentMax && text[n]) ++n;
  return std::string(text, n);
}

bool StartsWithPause(const char* text) {
  static const char kPause[] = "PAUSE";
  for (int i = 0; i < 5; ++i)
    if (Upper(text[i]) != kPause[i]) return false;
  return true;
}

const char* SkipSeparators(const char* text) {
  while (*text == ' ' || *text == '\t' || *text == ',' || *text == ';' || *text == '-') ++text;
  return text;
}

bool ReadSquare(const char** text, int* column, int* row) {
  const char* t = SkipSeparators(*text);
  if (!t[0] || !t[1] || !ParseSquareName(t, column, row)) return false;
  *text = t + 2;
  return true;
}

// King-square bytes follow the kings when markup stays in the game.
void RefreshKingSquares(Board* board) {
  (*board)[WHITE_KING_SQUARE] = NO_SQUARE;
  (*board)[BLACK_KING_SQUARE] = NO_SQUARE;
  for (int row = 0; row < 8; ++row)
    for (int file = 0; file < 8; ++file) {
      int s = MakeSquare(row, file);
      if ((*board)[s] == WHITE + KING && (*board)[WHITE_KING_SQUARE] == NO_SQUARE) (*board)[WHITE_KING_SQUARE] = s;
      if ((*board)[s] == BLACK + KING && (*board)[BLACK_KING_SQUARE] == NO_SQUARE) (*board)[BLACK_KING_SQUARE] = s;
    }
}

Board* KeptGameBoard(VoiceClip* clip) {
  if (!(clip->host->GameKindFlags() & kGameKeepsMarkup)) return nullptr;
  return clip->host->GameBoard();
}

void CallCompletionOnce(VoiceClip* clip) {
  if (clip->completionCalled) return;
  clip->completionCalled = true;
  if (clip->completion) clip->completion(clip->completionArgument);
}

}  // namespace

bool ParseMarkupPieceCode(const char* code, int* colour, int* type) {
  if (!code || !code[0] || !code[1]) return false;
  int c = Upper(code[0]);
  if (c != 'W' && c != 'B') return false;
  static const char kTypes[] = "KQRBNP";
  const char* at = std::strchr(kTypes, Upper(code[1]));
  if (!at || !*at) return false;
  *colour = c == 'W' ? 0 : 1;
  *type = static_cast<int>(at - kTypes);
  return true;
}

int StartMarkupPlayer(VoiceClip* clip, MarkupHost* host) {
  if (!clip || !host) return 0;
  clip->host = host;
  clip->flags = CLIP_PLAYING;
  clip->completionCalled = false;
  if (clip->blockInput) host->BlockBoardInput(true);
  clip->player = std::make_unique<MarkupPlayer>();
  if (!clip->events.empty() && host->HaveGame()) host->GamePosition(&clip->player->saved);
  if (clip->hasSound && !host->StartSound(clip) && clip->kind == kClipKindPrepared) {
    EndMarkupPlayer(clip);
    return 0;
  }
  clip->current = 0;
  clip->player->startTick = host->Now();
  if (!host->QueueStep(clip)) {
    EndMarkupPlayer(clip);
    return 0;
  }
  host->ChangePollCount(1);
  return 1;
}

int StepMarkupPlayer(VoiceClip* clip) {
  if (!Ready(clip)) return FinishStep(clip);
  MarkupPlayer& p = *clip->player;
  MarkupHost& host = *clip->host;
  if (clip->flags & CLIP_PAUSED) return KeepRunning(clip);
  uint32_t now = host.Now();
  if (clip->flags & CLIP_WAITING) {
    if (now - p.delayStart < p.delay) return KeepRunning(clip);
    clip->flags &= ~CLIP_WAITING;
  }
  if (static_cast<size_t>(p.eventsPlayed) < clip->events.size() && clip->current < clip->events.size()) {
    const MarkupEvent& event = clip->events[clip->current];
    bool due = (clip->flags & CLIP_FINISHED) || static_cast<int64_t>(now - p.startTick) >= event.due;
    if (!due) return KeepRunning(clip);
    std::string text = event.text;  // a handler may not outlive the event list
    DispatchMarkupEvent(clip, text.c_str());
    if (p.stop) return FinishStep(clip);
    ++p.eventsPlayed;
    ++clip->current;
    return 0;
  }
  if (!(clip->flags & CLIP_FINISHED) && host.SoundPlaying(clip)) return KeepRunning(clip);
  return FinishStep(clip);
}

int StopMarkupPlayer(VoiceClip* clip) {
  if (!clip) return 0;
  MarkupHost* host = clip->host;
  // The removal path restores the board too; the owner hears of the end once.
  CallCompletionOnce(clip);
  if (host && host->UnqueueStep(clip)) host->ChangePollCount(0);
  return 0;
}

int EndMarkupPlayer(VoiceClip* clip) {
  if (!clip) return 0;
  MarkupHost* host = clip->host;
  if (!clip->player || !host) {
    if (host && clip->blockInput) host->BlockBoardInput(false);
    return 0;
  }
  if (host->HaveGame() && (!(host->GameKindFlags() & kGameKeepsMarkup) || clip->kind == kClipKindPrepared))
    RestoreAfterMarkup(clip);
  if (clip->hasSound) host->FreeSound(clip);
  host->InvalidateBoard(false);
  if (clip->blockInput) host->BlockBoardInput(false);
  clip->events.clear();
  clip->current = 0;
  clip->player.reset();
  clip->flags = 0;
  return 1;
}

int RestoreAfterMarkup(VoiceClip* clip) {
  if (!Ready(clip)) return 0;
  MarkupPlayer& p = *clip->player;
  MarkupHost& host = *clip->host;
  if (p.highlight) host.ClearMarks(clip->kind);
  if (p.glyph) host.ClearGlyphs();
  if (p.arrow) host.ClearArrows();
  if (!host.HaveGame()) return 0;
  bool reset = false;
  if (host.GameKindFlags() & kGamePanelGame) {
    host.RestorePanelGame(p.turned != 0, p.saved);
    reset = true;
  } else if (p.removePiece || p.putPiece || p.moved || p.position) {
    host.SetGamePosition(p.saved);
    reset = true;
  }
  if (reset) host.ResetSprites();
  CallCompletionOnce(clip);
  host.InvalidateBoard(true);
  return 1;
}

void PauseVoiceClipTime(VoiceClip* clip) {
  if (!Ready(clip) || (clip->flags & CLIP_PAUSED)) return;
  uint32_t now = clip->host->Now();
  MarkupPlayer& p = *clip->player;
  p.pausedTime = (clip->flags & CLIP_WAITING) ? now - p.delayStart : now - p.startTick;
  clip->flags |= CLIP_PAUSED;
}

void ResumeVoiceClipTime(VoiceClip* clip) {
  if (!Ready(clip) || !(clip->flags & CLIP_PAUSED)) return;
  uint32_t now = clip->host->Now();
  MarkupPlayer& p = *clip->player;
  if (clip->flags & CLIP_WAITING)
    p.delayStart = now - p.pausedTime;
  else
    p.startTick = now - p.pausedTime;
  clip->flags &= ~CLIP_PAUSED;
}

void DispatchMarkupEvent(VoiceClip* clip, const char* text) {
  if (!Ready(clip) || !text || !text[0]) return;
  MarkupHost& host = *clip->host;
  MarkupPlayer& p = *clip->player;
  bool hidden = host.HideMode() != 0;
  int letter = Upper(text[0]);
  switch (letter) {
    case 'A':
      if (!hidden) MarkupAddArrows(clip, Cut(Argument(text)).c_str());
      break;
    case 'B': MarkupSetPosition(clip, Argument(text)); break;
    case 'C':
      if (!hidden) MarkupClearHighlights(clip);
      break;
    case 'D':
      if (!(clip->flags & CLIP_FINISHED)) SetMarkupDelay(clip, Cut(Argument(text)).c_str());
      break;
    case 'E': case 'I': case 'J': case 'L': case 'Q': case 'T': case 'V':
      host.LessonEvent(static_cast<char>(letter), text);
      break;
    case 'F':
      host.LessonEvent('F', text);
      p.turned = 1;
      break;
    case 'G':
      if (!hidden) MarkupShowGlyph(clip, Argument(text));
      break;
    case 'H':
    case 'N': {
      if (hidden) break;
      uint32_t flag;
      switch (text[1]) {
        case ':': case '1': flag = 2; break;
        case '2': flag = 4; break;
        case 'I': case 'i': flag = 1; break;
        default: return;  // "HX" and the like mean nothing
      }
      if (letter == 'N') host.ClearMarks(clip->kind);
      MarkupHighlightSquares(clip, Cut(Argument(text)).c_str(), flag);
      break;
    }
    case 'K':
      // The status text only: K alone clears it.
      if (text[1] == 0)
        host.ClearStatusText();
      else
        host.SetStatusText(Argument(text));
      break;
    case 'M': {
      int side = Upper(*Argument(text));
      if (side == 'W') host.SetSideToMove(WHITE);
      if (side == 'B') host.SetSideToMove(BLACK);
      break;
    }
    case 'O':
      if (!hidden) MarkupRemoveGlyphs(clip, text[1] ? Argument(text) : "");
      break;
    case 'P':
      if (StartsWithPause(text)) {
        const char* message = text[5] == ':' ? text + 6 : kDefaultPauseText;
        PauseVoiceClipTime(clip);
        host.ShowPauseMessage(message);
        ResumeVoiceClipTime(clip);
      } else if (!hidden) {
        MarkupPutPiece(clip, Argument(text));
      }
      break;
    case 'R':
      if (!hidden) MarkupClearArrows(clip);
      break;
    case 'S':
      if (!hidden) MarkupMovePiece(clip, Argument(text));
      break;
    case 'U':
      if (!hidden) MarkupCommit(clip);
      break;
    case 'X':
      if (!hidden) MarkupRemovePiece(clip, Argument(text));
      break;
    default: break;
  }
}

int SetMarkupDelay(VoiceClip* clip, const char* text) {
  if (!Ready(clip)) return 0;
  long ms = std::strtol(text, nullptr, 10);
  clip->player->delay = ms > 0 ? static_cast<uint32_t>(ms) : 0;
  clip->player->delayStart = clip->host->Now();
  clip->flags |= CLIP_WAITING;
  return 1;
}

int MarkupMovePiece(VoiceClip* clip, const char* text) {
  if (!Ready(clip)) return 0;
  int fc, fr, tc, tr;
  const char* t = text;
  if (!ReadSquare(&t, &fc, &fr) || !ReadSquare(&t, &tc, &tr)) return 0;
  MarkupHost& host = *clip->host;
  if (!host.MovePiece(fc, fr, tc, tr, host.HideMode() == 0)) return 0;
  if (Board* board = KeptGameBoard(clip)) {
    (*board)[MakeSquare(tr, tc)] = (*board)[MakeSquare(fr, fc)];
    (*board)[MakeSquare(fr, fc)] = 0;
    RefreshKingSquares(board);
  }
  clip->player->moved = 1;
  return 1;
}

int MarkupHighlightSquares(VoiceClip* clip, const char* text, uint32_t flag) {
  if (!Ready(clip)) return 0;
  if (clip->kind == kClipKindLesson) flag = 16;
  clip->host->MarkSquares(text, flag);
  clip->player->highlight = 1;
  return 1;
}

int MarkupClearHighlights(VoiceClip* clip) {
  if (!Ready(clip)) return 0;
  clip->host->ClearMarks(clip->kind);
  clip->player->highlight = 0;
  return 1;
}

int MarkupShowGlyph(VoiceClip* clip, const char* text) {
  if (!Ready(clip)) return 0;
  int colour, type, column, row;
  const char* t = SkipSeparators(text);
  if (!ParseMarkupPieceCode(t, &colour, &type)) return 0;
  t += 2;
  if (!ReadSquare(&t, &column, &row)) return 0;
  if (!clip->host->ShowGlyph(colour, type, column, row)) return 0;
  clip->player->glyph = 1;
  return 1;
}

int MarkupRemoveGlyphs(VoiceClip* clip, const char* text) {
  if (!Ready(clip)) return 0;
  int column, row;
  const char* t = text;
  if (*SkipSeparators(t) == 0) {
    clip->host->ClearGlyphs();
  } else if (ReadSquare(&t, &column, &row)) {
    clip->host->RemoveGlyphAt(column, row);
  } else {
    return 0;
  }
  clip->player->glyph = 0;
  return 1;
}

int MarkupAddArrows(VoiceClip* clip, const char* text) {
  if (!Ready(clip)) return 0;
  // Arrows of five characters each, run together or apart.
  const char* t = SkipSeparators(text);
  while (std::strlen(t) >= 5) {
    char arrow[6];
    std::memcpy(arrow, t, 5);
    arrow[5] = 0;
    clip->host->AddArrow(arrow);
    t = SkipSeparators(t + 5);
  }
  clip->host->InvalidateBoard(false);
  clip->player->arrow = 1;
  return 1;
}

int MarkupClearArrows(VoiceClip* clip) {
  if (!Ready(clip)) return 0;
  clip->host->ClearArrows();
  clip->host->InvalidateBoard(false);
  clip->player->arrow = 0;
  return 1;
}

int MarkupPutPiece(VoiceClip* clip, const char* text) {
  if (!Ready(clip)) return 0;
  int colour, type, column, row;
  const char* t = SkipSeparators(text);
  if (!ParseMarkupPieceCode(t, &colour, &type)) return 0;
  t += 2;
  if (!ReadSquare(&t, &column, &row)) return 0;
  if (!clip->host->PutPiece(colour, type, column, row)) return 0;
  if (Board* board = KeptGameBoard(clip)) {
    (*board)[MakeSquare(row, column)] = static_cast<uint8_t>((colour + 1) * 16 + type);
    RefreshKingSquares(board);
  }
  clip->player->putPiece = 1;
  return 1;
}

int MarkupRemovePiece(VoiceClip* clip, const char* text) {
  if (!Ready(clip)) return 0;
  int column, row;
  const char* t = text;
  if (!ReadSquare(&t, &column, &row)) return 0;
  if (!clip->host->RemovePiece(column, row)) return 0;
  clip->host->InvalidateBoard(false);
  if (Board* board = KeptGameBoard(clip)) {
    (*board)[MakeSquare(row, column)] = 0;
    RefreshKingSquares(board);
  }
  clip->player->removePiece = 1;
  return 1;
}

int MarkupCommit(VoiceClip* clip) {
  if (!Ready(clip)) return 0;
  MarkupPlayer& p = *clip->player;
  MarkupHost& host = *clip->host;
  if (p.highlight) host.ClearMarks(clip->kind);
  if (p.glyph) host.ClearGlyphs();
  if (p.arrow) host.ClearArrows();
  if (!p.removePiece && !p.putPiece && !p.moved && !p.position) {
    host.InvalidateBoard(true);
    return 1;
  }
  host.SetGamePosition(p.saved);
  host.ResetSprites();
  p.moved = p.removePiece = p.putPiece = p.position = 0;
  host.InvalidateBoard(true);
  return 1;
}

int MarkupSetPosition(VoiceClip* clip, const char* text) {
  if (!Ready(clip)) return 0;
  MarkupHost& host = *clip->host;
  if (!host.SetGamePositionText(text)) return 0;
  host.ClearArrows();
  host.ClearMarks(clip->kind);
  host.ClearGlyphs();
  host.ResetSprites();
  host.InvalidateBoard(false);
  clip->player->position = 1;
  return 1;
}
