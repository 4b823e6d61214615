// What the game records and the engine link ask of personalities, answered
// from personality files: the shell's hosts forward their calls here.
//
// Interface: ReadPlayerPersonality, FillEnginePersonality,
// GetPlayerEnginePersonality, SetPlayerEnginePath.
#pragma once

#include "engine_link_host.h"
#include "personality.h"

struct PlayerRecord;

// GameHost::ReadPersonality: the file named after the player, into
// `existing` or a new record; null (nothing allocated) when it cannot be read.
PersonalityRecord* ReadPlayerPersonality(PlayerRecord* player, PersonalityRecord* existing);

// The raw parameters as the engine link reads them (it scales them itself).
void FillEnginePersonality(const PersonalityRecord& record, const char* name, EnginePersonality* out);
// EngineLinkHost::GetPersonality: false when the player has no personality.
bool GetPlayerEnginePersonality(const PlayerRecord* player, EnginePersonality* out);
// EngineLinkHost::SetPersonalityEnginePath.
void SetPlayerEnginePath(PlayerRecord* player, const char* path);
