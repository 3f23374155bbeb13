#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "core/SKScreenshotImage.h"
#include "platform/win32/Window.h"
#include "scene/object/NiObject.h"
#include "scene/object/NiRefPtr.h"

class NiRender;

// The engine's window onto the operating system, kept in the one global g_kSystemWrapper: the
// frame clock, the update number, the random numbers, the engine window and renderer, screenshots,
// joysticks, INI values and file and folder helpers.
//
// Sections: time and random numbers; window and joysticks; screenshots; INI files; files and
// paths; folder trees.
class SKSystemWrapperClass
{
public:
    enum ImageFormat : int32_t
    {
        IMAGE_FORMAT_TGA = 0,
        IMAGE_FORMAT_BMP = 1,
    };

    static constexpr int32_t MAX_JOYSTICKS = 4;

    // One polled joystick. Axes are X, Y, Z, R, U, V, each relative to its centre.
    struct JoystickState
    {
        uint32_t m_uiButtons = 0;
        int32_t m_aiAxis[6] = {};
        uint32_t m_auiCentre[6] = {};
        // Degrees 0-359, or -1 when the stick has no point of view or it is at rest.
        int32_t m_iPointOfView = 0;
        bool m_bHasPointOfView = false;
        bool m_bCapabilitiesRead = false;
    };

    // Captures the front buffer of a renderer that can provide one (the Direct3D renderer); null
    // for any other renderer or when the capture fails. The engine's start-up installs the device
    // renderer's.
    using ScreenshotCapture = std::unique_ptr<SKScreenshotImage> (*)(NiRender* pkRenderer);

    SKSystemWrapperClass();

    // Time and random numbers. UpdateFrameTime advances the frame clock and the update number
    // once per frame; the getters read what it recorded. The random numbers come from the
    // engine's one generator.
    void UpdateFrameTime();
    float GetTimeSinceFrameStart() const;
    float GetTimeInSeconds() const { return m_fTotalTimeInSeconds; }
    uint32_t GetTimeInMilliseconds() const { return m_uiTotalTimeInMilliseconds; }
    float GetTimeElapsedInSeconds() const { return m_fLastFrameTimeInSeconds; }
    uint32_t GetTimeElapsedInMilliseconds() const { return m_uiLastFrameTimeInMilliseconds; }
    uint32_t GetUpdateNumber() const { return m_uiUpdateNumber; }
    // A value in 0..iRange-1; 0 for a range below 1.
    int32_t GetRandomNumber(int32_t iRange);
    void SetRandomSeed(uint32_t uiSeed);

    // Window and joysticks.
    void SetWindowAndRenderer(HWND hWindow, NiRender* pkRenderer);
    // The interface slot: a counted reference (the renderer, say) that the services hold for their
    // owner until it asks them to let go.
    void SetInterface(NiObject* pkInterface);
    NiObject* GetInterface() const;
    void ReleaseInterface();
    // True when the foreground window is the engine window, lies inside it or contains it.
    bool IsForeground() const;
    // The client area's width over its height; 1 without a window or with an empty area.
    float GetVerticalAspectRatio() const;
    // Polls joystick 0-3; false (and a cleared state) when it cannot be read.
    bool UpdateJoystick(int32_t iIndex);
    const JoystickState& GetJoystickState(int32_t iIndex) const;

    // Screenshots. TakeScreenshot writes the renderer's front buffer to the file named, or to the
    // first free "ScreenShot%03i" name, in the default folder when one is set.
    void SetDefaultScreenShotPath(const char* pcFolder);
    const char* GetDefaultScreenShotPath() const;
    void TakeScreenshot(int32_t iFormat = IMAGE_FORMAT_BMP, const char* pcName = nullptr);
    static void SetScreenshotCapture(ScreenshotCapture pfnCapture);
    static ScreenshotCapture GetScreenshotCapture() { return ms_pfnScreenshotCapture; }

    // INI files: a value is found under the first section whose name begins the requested
    // section, at the first key that begins the requested key (both case-blind).
    int32_t GetIniInt(const char* pcSection, const char* pcKey, int32_t iDefault, const char* pcFile);
    float GetIniFloat(const char* pcSection, const char* pcKey, float fDefault, const char* pcFile);
    // Copies the value, or the default when there is none, into the buffer (cut to size - 1
    // characters); true when the value was found.
    bool GetIniString(const char* pcSection, const char* pcKey, const char* pcDefault, char* pcBuffer,
                      int32_t iBufferSize, const char* pcFile);
    static bool ReadIniValue(FILE* pkFile, const char* pcSection, const char* pcKey, char* pcBuffer,
                             int32_t iBufferSize);

    // Files. Paths that do not exist as spelled are matched case-blind in their folder. SeekFile's
    // origins are 0 = from the current position, 1 = from the end, 2 = from the start.
    FILE* OpenFile(const char* pcPath, const char* pcMode);
    void CloseFile(FILE* pkFile);
    bool FileExists(const char* pcPath);
    bool ReadFromFile(FILE* pkFile, void* pvBuffer, int32_t iCount);
    bool WriteToFile(FILE* pkFile, const void* pvBuffer, int32_t iCount);
    bool SeekFile(FILE* pkFile, int32_t iOffset, int32_t iOrigin);
    int32_t GetFileLength(FILE* pkFile);
    // Copies the current folder into the buffer; false when it does not fit.
    bool GetCurrentDir(char* pcBuffer, int32_t iBufferSize);
    bool SetCurrentDir(const char* pcPath);
    bool MakeDirectory(const char* pcPath);
    // 0, or -1 when the file's attributes cannot be read or changed.
    int32_t SetFileReadOnly(const char* pcPath, bool bReadOnly);

    // Paths. Both '/' and '\' separate folders. SplitPath gives the drive and folder part with its
    // closing separator, and the file part; JoinPath puts a separator between parts that lack one
    // ('\' when the path so far uses backslashes, else '/').
    static void SplitPath(const char* pcPath, std::string* pkFolder, std::string* pkFile);
    static std::string JoinPath(std::string_view kFirst, std::initializer_list<std::string_view> kParts);

    // Folder trees. A symbolic link is never walked into: deleting removes the link itself, and
    // copying copies a link to a file as that file's content and leaves links to folders out.
    // DeleteDirectoryTree deletes read-only files and folders too and answers whether the folder is
    // gone (false, touching nothing, for a link to a folder); CopyDirectoryTree never overwrites a
    // file, clears the read-only attribute of the copies, and refuses (false) a destination inside
    // the source.
    bool DeleteDirectoryTree(const char* pcPath);
    bool CopyDirectoryTree(const char* pcDestination, const char* pcSource);

private:
    bool TakeScreenshotTo(const std::string& kPath, int32_t iFormat, const SKScreenshotImage& kImage);

    NiRender* m_pkRenderer = nullptr;
    HWND m_hWindow = nullptr;
    NiRefPtr<NiObject> m_spInterface;
    uint32_t m_uiFrameStart = 0;
    float m_fTotalTimeInSeconds = 0.0f;
    uint32_t m_uiTotalTimeInMilliseconds = 0;
    float m_fLastFrameTimeInSeconds = 0.0f;
    uint32_t m_uiLastFrameTimeInMilliseconds = 0;
    bool m_bHasCounter = false;
    int64_t m_iFrameStartCounter = 0;
    int64_t m_iCounterFrequency = 0;
    bool m_bFirstUpdate = true;
    uint32_t m_uiUpdateNumber = 0;
    std::string m_kScreenShotFolder;
    bool m_bHasScreenShotFolder = false;
    int32_t m_iJoystickCount = -1;
    JoystickState m_akJoysticks[MAX_JOYSTICKS];

    static inline ScreenshotCapture ms_pfnScreenshotCapture = nullptr;
};

extern SKSystemWrapperClass g_kSystemWrapper;
