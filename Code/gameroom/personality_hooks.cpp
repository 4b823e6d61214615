// Personality answers for the game records and the engine link.
#include "personality_hooks.h"

#include <cstdio>
#include <cstring>

#include "game_record.h"

namespace {
// The engine link's fields are shorter than the file's: longer texts are cut.
template <size_t N>
void CopyCut(char (&to)[N], const char* from) {
  size_t n = strnlen(from, N - 1);
  std::memcpy(to, from, n);
  to[n] = 0;
}
}  // namespace

PersonalityRecord* ReadPlayerPersonality(PlayerRecord* player, PersonalityRecord* existing) {
  if (!player) return existing;
  PersonalityRecord* record = existing;
  if (ReadPersonalityFile(player->name, &record)) return record;
  if (!existing) FreePersonality(record);
  return existing;
}

void FillEnginePersonality(const PersonalityRecord& r, const char* name, EnginePersonality* out) {
  std::memset(out, 0, sizeof *out);
  CopyCut(out->name, name ? name : "");
  out->engineKind = static_cast<int32_t>(r.kind);
  CopyCut(out->enginePath, r.enginePath);
  CopyCut(out->commandLine, r.engineParameters);
  out->ponder = r.pondering ? 1 : 0;
  const int32_t* p = r.parameters;
  out->strength = p[kParamMaterialPosition];
  // [0 opponent, 1 own][pawn, knight, bishop, rook, queen]
  static const int kOpponent[5] = {kParamOppPawn, kParamOppKnight, kParamOppBishop, kParamOppRook,
                                   kParamOppQueen};
  static const int kOwn[5] = {kParamOwnPawn, kParamOwnKnight, kParamOwnBishop, kParamOwnRook, kParamOwnQueen};
  for (int i = 0; i < 5; ++i) {
    out->values[0][i] = p[kOpponent[i]];
    out->values[1][i] = p[kOwn[i]];
  }
  for (int i = 0; i < 5; ++i) out->weights[i] = p[kParamCenter + i];
  out->cfd = p[kParamContempt];
  out->sop = p[kParamStrength];
  out->avd = p[kParamAttackerDefender];
  out->rnd = p[kParamRandomness];
  out->sel = p[kParamSelective];
  out->md = p[kParamMaxDepth];
  out->hashBytes = static_cast<int32_t>(PersonalityHashBytes(&r));
  out->ttu = 1;
}

bool GetPlayerEnginePersonality(const PlayerRecord* player, EnginePersonality* out) {
  if (!player || !player->personality || !out) return false;
  FillEnginePersonality(*player->personality, player->name, out);
  return true;
}

void SetPlayerEnginePath(PlayerRecord* player, const char* path) {
  if (!player || !player->personality || !path) return;
  std::snprintf(player->personality->enginePath, sizeof player->personality->enginePath, "%s", path);
}
