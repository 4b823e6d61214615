// Engine channel over anonymous pipes. Standard output and standard error
// of the engine share one pipe; both pipe ends the program keeps are not
// inheritable, so a second engine never holds the first one's pipes open.
#include <process.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <new>

#include "engine_channel.h"
#include "heapkit.h"
#include "line_framer.h"

struct EngineChannel {
  HANDLE process = nullptr;
  HANDLE outputRead = nullptr;
  HANDLE inputWrite = nullptr;
  HANDLE readerThread = nullptr;
  unsigned readerThreadId = 0;
  std::atomic<int> stop{0};
  EngineLineCallback onLine = nullptr;
  void* context = nullptr;
  EngineEndCallback onEnd = nullptr;
  HANDLE stopEvent = nullptr;  // set with the stop flag; the reader waits on it after the engine ended
  LineFramer framer;
};

namespace {

constexpr DWORD kPipeSize = 4097;

void CloseIf(HANDLE* h) {
  if (*h) CloseHandle(*h);
  *h = nullptr;
}

void FreeChannel(EngineChannel* channel) {
  CloseIf(&channel->outputRead);
  CloseIf(&channel->inputWrite);
  CloseIf(&channel->process);
  CloseIf(&channel->stopEvent);
  channel->~EngineChannel();
  memFree_rel(channel);
}

unsigned __stdcall EngineReaderThread(void* argument) {
  EngineChannel* channel = static_cast<EngineChannel*>(argument);
  bool engineEnded = false;
  while (!channel->stop.load()) {
    // Peek first so that the thread never blocks in a read: a stop request is
    // seen within a few milliseconds even when the engine writes nothing.
    DWORD available = 0;
    if (!PeekNamedPipe(channel->outputRead, nullptr, 0, nullptr, &available, nullptr)) {
      // The engine's end closed (it ended or was killed): no more output
      // will come, so stop reading instead of polling a broken pipe.
      engineEnded = true;
      break;
    }
    if (available == 0) {
      WaitForSingleObject(channel->stopEvent, 5);
      continue;
    }
    size_t room = 0;
    char* space = FramerSpace(&channel->framer, &room);
    DWORD got = 0;
    if (!ReadFile(channel->outputRead, space, static_cast<DWORD>(room < available ? room : available), &got,
                  nullptr)) {
      engineEnded = true;
      break;
    }
    FramerTake(&channel->framer, got, channel->onLine, channel->context, &channel->stop);
  }
  if (engineEnded && !channel->stop.load()) {
    if (channel->onEnd) channel->onEnd(channel->context, 0);
    // The owner still holds the channel: keep the record, idle, until it
    // stops it.
    WaitForSingleObject(channel->stopEvent, INFINITE);
  }
  if (channel->onEnd) channel->onEnd(channel->context, 1);
  HANDLE self = channel->readerThread;
  FreeChannel(channel);
  if (self) CloseHandle(self);
  return 0;
}

// Non-inheritable copy of a pipe end; the inheritable original is closed.
bool MakePrivate(HANDLE* end) {
  HANDLE copy = nullptr;
  HANDLE me = GetCurrentProcess();
  if (!DuplicateHandle(me, *end, me, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) return false;
  CloseHandle(*end);
  *end = copy;
  return true;
}

}  // namespace

int StartEngineProcess(const char* programPath, const char* commandLine, EngineLineCallback onLine,
                       void* context, EngineChannel** out, EngineEndCallback onEnd) {
  if (!programPath || !out) return -1;
  *out = nullptr;

  // The engine starts in its own folder, given to CreateProcess: the
  // program's current folder is never changed (worker threads use relative
  // paths while engines start).
  char folder[MAX_PATH + 1];
  std::strncpy(folder, programPath, MAX_PATH);
  folder[MAX_PATH] = '\0';
  size_t n = std::strlen(folder);
  while (n > 0 && folder[n - 1] != '\\' && folder[n - 1] != '/') folder[--n] = '\0';

  void* memory = memAlloc_rel(sizeof(EngineChannel), 66);
  if (!memory) return -2;
  EngineChannel* channel = new (memory) EngineChannel();
  channel->onLine = onLine;
  channel->context = context;
  channel->onEnd = onEnd;

  SECURITY_ATTRIBUTES inherit = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE childOutputWrite = nullptr, childInputRead = nullptr;
  bool ok = (channel->stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr)) != nullptr &&
            CreatePipe(&channel->outputRead, &childOutputWrite, &inherit, kPipeSize) &&
            MakePrivate(&channel->outputRead) &&
            CreatePipe(&childInputRead, &channel->inputWrite, &inherit, kPipeSize) &&
            MakePrivate(&channel->inputWrite);
  if (!ok) {
    CloseIf(&childOutputWrite);
    CloseIf(&childInputRead);
    FreeChannel(channel);
    return -2;
  }

  STARTUPINFOA startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = childInputRead;
  startup.hStdOutput = childOutputWrite;
  startup.hStdError = childOutputWrite;

  char line[1024];
  std::strncpy(line, commandLine ? commandLine : "", sizeof line - 1);
  line[sizeof line - 1] = '\0';
  PROCESS_INFORMATION info;
  std::memset(&info, 0, sizeof info);
  BOOL created =
      CreateProcessA(programPath, line, nullptr, nullptr, TRUE, DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP,
                     nullptr, folder[0] ? folder : nullptr, &startup, &info);
  // The child has its copies; ours would keep the pipes open after it ends.
  CloseHandle(childInputRead);
  CloseHandle(childOutputWrite);
  if (!created) {
    FreeChannel(channel);
    return -2;
  }
  CloseHandle(info.hThread);
  channel->process = info.hProcess;

  // The reader starts once the process runs, so a failed start leaves no
  // thread behind and the record is freed here.
  uintptr_t thread =
      _beginthreadex(nullptr, 0, EngineReaderThread, channel, CREATE_SUSPENDED, &channel->readerThreadId);
  if (!thread) {
    TerminateProcess(channel->process, 1);
    FreeChannel(channel);
    return -2;
  }
  channel->readerThread = reinterpret_cast<HANDLE>(thread);
  *out = channel;
  ResumeThread(channel->readerThread);
  return 0;
}

int WriteEngineLine(EngineChannel* channel, const char* text) {
  if (!channel || !channel->inputWrite || !text) return -1;
  size_t length = std::strlen(text);
  size_t written = 0;
  int tries = 0;
  while (written < length) {
    DWORD n = 0;
    if (!WriteFile(channel->inputWrite, text + written, static_cast<DWORD>(length - written), &n, nullptr))
      n = 0;
    written += n;
    if (written >= length) break;
    if (written == 0 && ++tries >= 10) return -2;
    if (n == 0 && written > 0 && ++tries >= 10 * 125) return -2;  // the engine stopped reading mid-line
    Sleep(8);
  }
  return 0;
}

int StopEngineLink(EngineChannel* channel) {
  if (!channel) return -2;
  channel->stop.store(1);
  SetEvent(channel->stopEvent);
  return 0;
}
