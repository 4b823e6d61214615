// Entry point names of the RWLive client DLL.
#include "rwlive_api.h"

namespace rwlive {

const char* const kEntryPoints[kEntryPointCount] = {
    "RWLiveInit", "RWLiveDestroy", "RWLiveGetMyIPText", "RWLiveGetMyHostName",
    "RWLiveSaveGameDef", "RWLiveLoadGameDef", "RWLiveJoinGame", "RWLiveLeaveGame",
    "RWLiveGetRWLiveAddr", "RWLiveEnumGULPs", "RWLiveCreateGULP", "RWLiveCreateGULP_MC",
    "RWLiveCreateGULP_SI", "RWLiveCreateGULP_CS", "RWLiveQueryGULP", "RWLiveEnumPlayers",
    "RWLiveQueryPlayer", "RWLiveGetNameByAddr", "RWLiveSaveData", "RWLiveRestoreData",
    "RWLiveOpenGULP", "RWLiveOpenSpeechGULP", "RWLiveCloseSpeechGULP", "RWLiveCloseGULP",
    "RWLiveWriteGULP", "RWLiveReadGULP", "RWLiveIsDataReady", "RWLiveResetGULPMeter",
    "RWLiveGetGULPMeter", "RWLiveSpeechHandler", "RWLiveOpenPhrase", "RWLiveSendPhraseData",
    "RWLiveClosePhrase", "RWLiveSpeechInX", "RWLiveSpeechIn", "RWLiveIsReadyToPlay",
    "RWLiveGetCodecInfo", "RWLiveGetQueueInfo", "RWLiveLoadBinaryObject",
    "RWLiveSaveBinaryObject", "RWLiveOpenPhraseRQ", "RWLiveClosePhraseRQ",
    "RWLiveSendPhraseDataRQ", "RWLiveQueueSpeech", "RWLiveResetCompression",
    "RWLiveCompressSpeech", "RWLiveDecompressSpeech", "RWLiveGetCodecParameters",
    "RWLiveSetTrace", "RWLiveAbort", "RWLiveError", "RWLiveWarn", "RWLiveInfo", "RWLiveDebug",
    "RWLiveTraceMsg", "RWLiveVersion", "RWLivePingSession", "RWLivePingGame",
    "RWLivePingGULP", "RWLivePingRWLiveTlAddr", "RWLiveEnableJoinLeaveNotification",
    "RWLiveDisableJoinLeaveNotification", "strmcpy", "RWLiveIPX_DoPeriodicUpdate",
    "RWLiveIPX_GetMachineInfo", "RWLiveIPX_GetNumberRemoteMachine", "RWLiveIPX_GetLocalAdr",
    "RWLiveDisplayError", "RWLiveLogReturnVal", "RWLiveLogAPICall", "RWLiveGetLastError",
    "RWLiveGetErrorText", "RWLiveMessageHandler", "RWLiveEnableAutoErrorMessageBoxes",
    "RWLiveEnumServers", "RWLiveQueryServer", "RWLiveFindServer", "RWLiveJoinGameByAddr",
};

const char* const kCallNames[kCallCount] = {
    "RWLiveInit",
    "RWLiveDestroy",
    "RWLiveLoadGameDef",
    "RWLiveJoinGame",
    "RWLiveGetRWLiveAddr",
    "RWLiveEnableJoinLeaveNotification",
    "RWLiveDisableJoinLeaveNotification",
    "RWLiveCreateGULP_MC",
    "RWLiveOpenGULP",
    "RWLiveCloseGULP",
    "RWLiveLeaveGame",
    "RWLiveRestoreData",
    "RWLiveSaveData",
    "RWLiveWriteGULP",
    "RWLiveGetNameByAddr",
    "RWLiveGetErrorText",
};

}  // namespace rwlive
