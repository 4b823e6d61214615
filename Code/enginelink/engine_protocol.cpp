#include "engine_protocol.h"

#include <cctype>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include "heapkit.h"

namespace {

// --- Sending ---------------------------------------------------------------

void SendText(EngineSession* session, const char* text) {
  if (session->callback) session->callback(session, nullptr, nullptr, nullptr, text, ENGINE_SENT);
  GetEngineChannelApi()->write(session->channel, text);
}

void SendFormatted(EngineSession* session, const char* format, ...) __attribute__((format(printf, 2, 3)));
void SendFormatted(EngineSession* session, const char* format, ...) {
  char text[kEngineSendSize];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n < 0 || n >= static_cast<int>(sizeof text)) return;  // never cut a command in two
  SendText(session, text);
}

// --- Reading: every field has a width, outside engines are not trusted -----

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

const char* SkipBlanks(const char* p) {
  while (*p && IsBlank(*p)) ++p;
  return p;
}

// As %d: blanks, a sign, digits; a value beyond 32 bits is held at the limit.
bool ReadInt(const char** cursor, int32_t* value) {
  const char* p = SkipBlanks(*cursor);
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
  long long v = 0;
  while (std::isdigit(static_cast<unsigned char>(*p))) {
    if (v < 10000000000LL) v = v * 10 + (*p - '0');
    ++p;
  }
  if (negative) v = -v;
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  *value = static_cast<int32_t>(v);
  *cursor = p;
  return true;
}

// As %s with a width: blanks, then the word, cut to size - 1 characters (the
// rest of the word is passed over).
bool ReadWord(const char** cursor, char* out, size_t size) {
  const char* p = SkipBlanks(*cursor);
  if (!*p) return false;
  size_t n = 0;
  while (*p && !IsBlank(*p)) {
    if (n + 1 < size) out[n++] = *p;
    ++p;
  }
  out[n] = '\0';
  *cursor = p;
  return true;
}

// As %[^\n] after blanks: the rest of the line, at least one character.
bool ReadRest(const char** cursor, char* out, size_t size) {
  const char* p = SkipBlanks(*cursor);
  if (!*p) return false;
  size_t n = 0;
  while (*p && *p != '\n') {
    if (n + 1 < size) out[n++] = *p;
    ++p;
  }
  // An engine whose output is in text mode ends its lines with CR LF.
  while (n > 0 && IsBlank(out[n - 1])) --n;
  out[n] = '\0';
  *cursor = p;
  return true;
}

bool ParseMoveReply(const char* line, const EngineSession* session, MoveCoords* move, bool* isMove) {
  char first[32], second[32], third[32];
  const char* p = line;
  *isMove = false;
  if (!ReadWord(&p, first, sizeof first) || !ReadWord(&p, second, sizeof second)) return false;
  const char* text = nullptr;
  const char* q = p;
  if (std::strcmp(second, "...") == 0 && ReadWord(&q, third, sizeof third)) {
    text = third;
  } else if (std::strcmp(first, "move") == 0) {
    text = second;
  }
  if (!text) return false;
  *isMove = true;
  return EngineTextToMove(text, session->description.side == ENGINE_SIDE_WHITE, move);
}

bool ParseThinking(const char* line, ThinkingLine* t) {
  const char* p = line;
  std::memset(t, 0, sizeof *t);
  if (ReadInt(&p, &t->ply) && ReadInt(&p, &t->score) && ReadInt(&p, &t->time) && ReadInt(&p, &t->nodes) &&
      ReadRest(&p, t->line, sizeof t->line))
    return true;
  // Dotted form: "12." or "7..." for the ply.
  std::memset(t, 0, sizeof *t);
  p = SkipBlanks(line);
  size_t n = 0;
  while ((std::isdigit(static_cast<unsigned char>(*p)) || *p == '.')) {
    if (n + 1 < sizeof t->plyText) t->plyText[n++] = *p;
    ++p;
  }
  t->plyText[n] = '\0';
  if (n == 0) return false;
  if (ReadInt(&p, &t->score) && ReadInt(&p, &t->time) && ReadInt(&p, &t->nodes) &&
      ReadRest(&p, t->line, sizeof t->line))
    return true;
  return false;
}

bool ParseStatus(const char* line, EngineStatus* s) {
  const char* p = SkipBlanks(line);
  std::memset(s, 0, sizeof *s);
  if (std::strncmp(p, "stat01:", 7) != 0) return false;
  p += 7;
  if (!(ReadInt(&p, &s->time) && ReadInt(&p, &s->nodes) && ReadInt(&p, &s->ply) &&
        ReadInt(&p, &s->movesLeft) && ReadInt(&p, &s->totalMoves)))
    return false;
  if (!ReadWord(&p, s->move, sizeof s->move)) s->move[0] = '\0';
  return true;
}

void OnChannelEnd(void* context, int stopped) {
  EngineSession* session = static_cast<EngineSession*>(context);
  if (!stopped) {
    session->ended.store(1);
    if (!session->quitting.load() && session->callback)
      session->callback(session, nullptr, nullptr, nullptr, "", ENGINE_ENDED);
    return;
  }
  // The channel's last call: no callback for this session can follow.
  session->~EngineSession();
  memFree_rel(session);
}

}  // namespace

EngineSession* OpenEngineSession(const EngineDescription* description, EngineReplyCallback callback) {
  if (!description || !callback) return nullptr;
  void* memory = memAlloc_rel(sizeof(EngineSession), 66);
  if (!memory) return nullptr;
  EngineSession* session = new (memory) EngineSession();
  session->description = *description;
  session->description.startPath[kEnginePathSize - 1] = '\0';
  session->description.commandLine[kEnginePathSize - 1] = '\0';
  session->callback = callback;
  session->forced = 0;
  session->quitting.store(0);
  session->ended.store(0);
  if (GetEngineChannelApi()->start(session->description.startPath, session->description.commandLine,
                                   ParseEngineLine, session, &session->channel, OnChannelEnd) != 0) {
    session->~EngineSession();
    memFree_rel(session);
    return nullptr;
  }
  SendText(session, "xboard\n");
  return session;
}

void SendEngineQuit(EngineSession* session) {
  if (!session) return;
  session->quitting.store(1);
  SendText(session, "quit\n");
  // From here the reader thread owns the session: it frees it after its last
  // callback (OnChannelEnd), so the session is not touched again here.
  GetEngineChannelApi()->stop(session->channel);
}

void SendEnginePost(EngineSession* s, bool on) {
  if (s) SendText(s, on ? "post\n" : "nopost\n");
}
void SendEngineAnalyze(EngineSession* s, bool on) {
  if (s) SendText(s, on ? "analyze\n" : "exit\n");
}
void SendEnginePonder(EngineSession* s, bool on) {
  if (s) SendText(s, on ? "hard\n" : "easy\n");
}
void SendEngineStatusRequest(EngineSession* s) {
  if (s) SendText(s, ".\n");
}
void SendEngineForce(EngineSession* s) {
  if (!s) return;
  SendText(s, "force\n");
  s->forced = 1;
}
void SendEngineMove(EngineSession* s, const MoveCoords* move) {
  if (!s || !move) return;
  char text[8];
  MoveToEngineText(move, text);
  SendFormatted(s, "%s\n", text);
}
void SendEngineDraw(EngineSession* s) {
  if (s) SendText(s, "draw\n");
}
void SendEngineUndo(EngineSession* s) {
  if (s) SendFormatted(s, "%s\n", "undo\n");
}
void SendEngineNew(EngineSession* s) {
  if (!s) return;
  SendText(s, "new\n");
  s->forced = 0;
}
void SendEngineWhite(EngineSession* s) {
  if (s) SendText(s, "white\n");
}
void SendEngineBlack(EngineSession* s) {
  if (s) SendText(s, "black\n");
}
void SendEngineLevel(EngineSession* s, int moves, int baseSeconds, int incrementSeconds) {
  if (!s) return;
  int minutes = baseSeconds / 60, seconds = baseSeconds % 60;
  if (seconds == 0)
    SendFormatted(s, "%s %d %d %d\n", "level", moves, minutes, incrementSeconds);
  else
    SendFormatted(s, "%s %d %d:%d %d\n", "level", moves, minutes, seconds, incrementSeconds);
}
void SendEngineTime(EngineSession* s, int own, int opponent) {
  if (s) SendFormatted(s, "time %d\notim %d\n", own, opponent);
}
void StartEngineThinking(EngineSession* s, int white, int black, int sideToMove) {
  if (!s || !s->forced) return;
  SendEngineWhite(s);
  int side = s->description.side;
  bool blackClockOwn = side == ENGINE_SIDE_BLACK || (side == ENGINE_SIDE_ADVISOR && sideToMove == 1);
  if (blackClockOwn)
    SendEngineTime(s, black, white);
  else
    SendEngineTime(s, white, black);
  if (sideToMove == 0) SendEngineWhite(s);
  if (sideToMove == 1) SendEngineBlack(s);
  SendEngineGo(s);
}
void SendEngineGo(EngineSession* s) {
  if (!s) return;
  SendText(s, "go\n");
  s->forced = 0;
}
void SendEngineMoveNow(EngineSession* s) {
  if (!s) return;
  SendText(s, "?\n");
  s->forced = 0;
}
void SendEngineCommand(EngineSession* s, const char* text) {
  if (s && text) SendFormatted(s, "%s\n", text);
}
int IsEngineForced(const EngineSession* s) { return s && s->forced ? 1 : 0; }

void MoveToEngineText(const MoveCoords* move, char* out) {
  static const char kPromotion[] = {0, 'q', 'r', 'b', 'n'};
  int n = 0;
  out[n++] = static_cast<char>(move->fromFile);
  out[n++] = static_cast<char>(move->fromRank);
  out[n++] = static_cast<char>(move->toFile);
  out[n++] = static_cast<char>(move->toRank);
  if (move->promotion >= 1 && move->promotion <= 4) out[n++] = kPromotion[move->promotion];
  out[n] = '\0';
}

bool EngineTextToMove(const char* text, bool white, MoveCoords* move) {
  if (!text || !move) return false;
  char rank = white ? '1' : '8';
  auto same = [](const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
      if (std::tolower(static_cast<unsigned char>(*a)) != *b) return false;
    return *a == *b;
  };
  if (same(text, "o-o") || same(text, "0-0") || same(text, "o-o-o") || same(text, "0-0-0")) {
    bool longSide = std::strlen(text) == 5;
    *move = {'e', rank, longSide ? 'c' : 'g', rank, 0};
    return true;
  }
  char c[5] = {0, 0, 0, 0, 0};
  for (int i = 0; i < 5 && text[i]; ++i)
    c[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
  if (c[0] < 'a' || c[0] > 'h' || c[1] < '1' || c[1] > '8' || c[2] < 'a' || c[2] > 'h' || c[3] < '1' ||
      c[3] > '8')
    return false;
  int promotion = 0;
  switch (c[4]) {
    case 'q':
      promotion = 1;
      break;
    case 'r':
      promotion = 2;
      break;
    case 'b':
      promotion = 3;
      break;
    case 'n':
      promotion = 4;
      break;
    default:
      break;
  }
  *move = {c[0], c[1], c[2], c[3], promotion};
  return true;
}

void ParseEngineLine(const char* line, void* context) {
  EngineSession* session = static_cast<EngineSession*>(context);
  if (!line || !session) return;
  while (*line == '\a') ++line;
  // With its monitor on the engine writes a carriage-return copy of each
  // reply to the same pipe: that copy is not a reply of its own.
  if (*line == '\r') return;
  MoveCoords move;
  bool isMove = false;
  if (ParseMoveReply(line, session, &move, &isMove)) {
    session->callback(session, &move, nullptr, nullptr, line, ENGINE_RECEIVED);
    return;
  }
  if (isMove) return;  // not a coordinate move: dropped
  ThinkingLine thinking;
  if (ParseThinking(line, &thinking)) {
    session->callback(session, nullptr, &thinking, nullptr, line, ENGINE_RECEIVED);
    return;
  }
  EngineStatus status;
  if (ParseStatus(line, &status)) {
    session->callback(session, nullptr, nullptr, &status, line, ENGINE_RECEIVED);
    return;
  }
  session->callback(session, nullptr, nullptr, nullptr, line, ENGINE_RECEIVED);
}
