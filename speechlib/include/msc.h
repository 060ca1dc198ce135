#pragma once

/*
 * The speech library: text in, 16-bit mono PCM out, offline.
 *
 *   QTTSInit("appid=5b0c2d91,max_text_size=2048");
 *   const char* id = QTTSSessionBegin("vcn=xiaoyan,tte=UTF8,auf=audio/L16;rate=16000", NULL);
 *   QTTSTextPut(id, text, length, "");
 *   do { chunk = QTTSAudioGet(id, &length, &status, &error); ... } while (status != 2);
 *   QTTSSessionEnd(id, "");
 *   QTTSFini();
 *
 * Integers are 32-bit, 0 meaning success; texts are zero-terminated byte
 * strings. Memory the library returns stays the library's: a session id is
 * valid until that session ends, an audio chunk until the next call for its
 * session or the session's end. Every entry point may be called from any
 * thread.
 */

#include <stdint.h>

/* The calling convention of every entry point, the only platform difference. */
#if defined(_WIN32)
#define MSC_CALL __stdcall
#else
#define MSC_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Results of the entry points and values of their error-code locations. */
enum MscErrorCode {
    MSC_SUCCESS = 0,
    MSC_ERROR_NOT_INITIALIZED = 1001,     /* no successful QTTSInit before the call */
    MSC_ERROR_ALREADY_INITIALIZED = 1002, /* QTTSInit twice without QTTSFini */
    MSC_ERROR_INVALID_ARGUMENT = 1003,    /* a null text or out-location where one is needed */
    MSC_ERROR_INVALID_CONFIG = 1004,      /* the configuration text is malformed or incomplete */
    MSC_ERROR_INVALID_PARAMS = 1005,  /* a session parameter is unknown, repeated or out of range */
    MSC_ERROR_UNKNOWN_SESSION = 1006, /* no session with this id is open */
    MSC_ERROR_TEXT_TOO_LONG = 1007,   /* more bytes than max_text_size */
    MSC_ERROR_TEXT_ENCODING = 1008,   /* the bytes are not valid in the session's encoding */
    MSC_ERROR_EMPTY_TEXT = 1009,      /* nothing to speak */
    MSC_ERROR_BUSY = 1010,            /* the previous text's audio has not all been taken */
    MSC_ERROR_NO_TEXT = 1011,         /* audio asked for before any text was put */
    MSC_ERROR_ENGINE = 1012,          /* the speech engine failed to start or to speak */
    MSC_ERROR_CANCELLED = 1013,       /* synthesis stopped because the library shut down */
    MSC_ERROR_OUT_OF_MEMORY = 1014
};

/* The audio status that QTTSAudioGet reports. */
enum MscAudioStatus {
    MSC_AUDIO_CONTINUE = 1, /* more audio will follow */
    MSC_AUDIO_COMPLETE = 2  /* no more audio: this call's chunk, if any, is the last */
};

/*
 * Starts the library. `configs` is a comma-separated list of key=value items;
 * "appid" is required, "max_text_size" (bytes, default 4096) and "timeout"
 * (milliseconds) must be decimal numbers, other keys are accepted and ignored.
 */
int32_t MSC_CALL QTTSInit(const char* configs);

/*
 * Opens a session. `params` is a comma-separated list of key=value items
 * (ssm, ent, vcn, spd, vol, ttp, tte, bgs, aue, auf); a missing key takes its
 * default, and null params take every default. The voice must be one of the
 * engine's voices. Returns the session id, or null with *errorCode set when
 * `errorCode` is not null.
 */
const char* MSC_CALL QTTSSessionBegin(const char* params, int32_t* errorCode);

/*
 * Starts speaking `textLength` bytes of `text` in the session's encoding and
 * returns at once; a zero terminator inside ends the text early. `params` is
 * reserved and must be null or empty.
 */
int32_t MSC_CALL QTTSTextPut(const char* sessionId, const char* text, uint32_t textLength,
                             const char* params);

/*
 * The next chunk of audio: *audioLength bytes of 16-bit mono PCM at the
 * session's rate, or null when none is ready within a few tens of
 * milliseconds. *audioStatus becomes MSC_AUDIO_COMPLETE together with the last
 * chunk, and stays so. `errorCode` may be null.
 */
const void* MSC_CALL QTTSAudioGet(const char* sessionId, uint32_t* audioLength,
                                  int32_t* audioStatus, int32_t* errorCode);

/* Stops the session's synthesis and frees it. `hints` is free text, may be null. */
int32_t MSC_CALL QTTSSessionEnd(const char* sessionId, const char* hints);

/*
 * Ends every session and stops the synthesis thread; QTTSInit may follow. The
 * engine's voice data stays loaded until the process ends, ready for that.
 */
int32_t MSC_CALL QTTSFini(void);

#ifdef __cplusplus
}
#endif
