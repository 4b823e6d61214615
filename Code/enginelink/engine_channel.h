// The engine channel: one engine program run as a child process whose
// standard input and output are anonymous pipes, and a reader thread that
// cuts the engine's output into lines.
//
// Interface: StartEngineProcess, WriteEngineLine, StopEngineLink, and the
// EngineChannelApi table through which the protocol driver reaches them (so
// tests put a scripted channel in their place).
//
// The channel knows nothing of the protocol. Its record is freed by its own
// reader thread once the stop flag is set; the owner never frees it.
#pragma once

struct EngineChannel;

// Called on the reader thread for every whole line (NUL-terminated, line feed
// removed, carriage return kept); the text is valid only during the call.
using EngineLineCallback = void (*)(const char* line, void* context);
// Called on the reader thread after its last line callback: with `stopped`
// 0 when the engine ended (its output closed) before the owner stopped the
// channel (the record stays valid until StopEngineLink), and always once
// with `stopped` 1 as the very last call, after the owner stopped it.
using EngineEndCallback = void (*)(void* context, int stopped);

// 0 and the channel in *out; -1 without path or out (out untouched); -2 on
// any other failure with *out = null. `commandLine` is handed to the process
// unchanged as its whole command line. `onEnd` may be null.
int StartEngineProcess(const char* programPath, const char* commandLine, EngineLineCallback onLine,
                       void* context, EngineChannel** out, EngineEndCallback onEnd = nullptr);
// 0 when written or empty, -1 without channel or text, -2 when the engine
// takes nothing.
int WriteEngineLine(EngineChannel* channel, const char* text);
// Sets the stop flag and returns at once (0; -2 for null).
int StopEngineLink(EngineChannel* channel);

struct EngineChannelApi {
  int (*start)(const char* programPath, const char* commandLine, EngineLineCallback onLine, void* context,
               EngineChannel** out, EngineEndCallback onEnd);
  int (*write)(EngineChannel* channel, const char* text);
  int (*stop)(EngineChannel* channel);
};
// Null puts the platform's channel back.
void SetEngineChannelApi(const EngineChannelApi* api);
const EngineChannelApi* GetEngineChannelApi();
