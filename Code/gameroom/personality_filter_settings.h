// The personality list's filter boxes as the user's settings keep them:
// the ticks live in the application globals' filter fields, the Select
// Personality dialog reads and stores them, and the settings save and load
// write and read them in section "Personality Filters" of the current
// settings ini, one "%d" key per box, 1 when the key is missing.
//
// Interface: SavePersonalityFilters, LoadPersonalityFilters,
// CurrentPersonalityFilters, KeepPersonalityFilters.
#pragma once

#include "personality_list.h"

void SavePersonalityFilters();
void LoadPersonalityFilters();

// The ticks in use (every box ticked before start-up has made the globals).
PersonalityFilters CurrentPersonalityFilters();
void KeepPersonalityFilters(const PersonalityFilters& filters);
