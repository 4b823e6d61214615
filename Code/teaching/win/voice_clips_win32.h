// Voice clips in the program: the clip builder over the packed data sets
// and the sound layer, built one group per idle pass of the main loop (the
// deferred-callback queue), then played: the stream through the sound
// layer and the events at their times, lesson letters to the lesson's
// handlers and board letters through the teaching board seam.
//
// Interface: VoiceClipHandle, kClipFlag*, StartVoiceClip, StartAudioClip,
// StartVoiceClipWithCallback, RequestVoiceClipStop, StopVoiceClip,
// PauseVoiceClip, ResumeVoiceClip, SetVoiceClipDone, GetVoiceClipFlags,
// GetCurrentVoiceClip, GetCommentVoiceTag, SetLessonEventHandler,
// ClipSettingsFromIni, LastClipEvents.
#pragma once

#include <string>
#include <vector>

#include "voice_clip.h"

struct VoiceClipHandle;

constexpr int kClipFlagPlaying = 1;
constexpr int kClipFlagPaused = 2;
constexpr int kClipFlagDelay = 4;
constexpr int kClipFlagFinished = 8;
constexpr int kClipFlagVoiceSwitch = 16;

using ClipDoneCallback = void (*)(void* argument);

VoiceClipHandle* StartVoiceClip(int dataSet, const std::string& text);
VoiceClipHandle* StartAudioClip(int dataSet, const std::string& text);
VoiceClipHandle* StartVoiceClipWithCallback(int dataSet, const std::string& text, ClipDoneCallback done,
                                            void* argument);
int RequestVoiceClipStop(VoiceClipHandle* clip);
int StopVoiceClip();
int PauseVoiceClip(VoiceClipHandle* clip);
int ResumeVoiceClip(VoiceClipHandle* clip);
void SetVoiceClipDone(VoiceClipHandle* clip);
int GetVoiceClipFlags(VoiceClipHandle* clip);
VoiceClipHandle* GetCurrentVoiceClip();
int GetCommentVoiceTag(const char* text, std::string* out);

// Lesson letters (V, E, Q, I, F, L, T, J) go here when the voice reaches
// them; null drops them.
using LessonEventHandler = void (*)(const std::string& text);
void SetLessonEventHandler(LessonEventHandler handler);
// [debug] "DoIVA" and "DoIVAAudio" of the settings file.
ClipSettings ClipSettingsFromIni();
// The events and stream length of the last clip that began to play (for
// tests and the trace).
struct PlayedClipRecord {
  std::vector<ClipEvent> events;
  int32_t soundMs = 0;
  bool audio = false;
};
const PlayedClipRecord& LastClipEvents();
