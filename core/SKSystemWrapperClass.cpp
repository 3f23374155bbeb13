// Sections: construction and time; random numbers; window and joysticks; screenshots; INI files;
// files; paths; folder trees.
#include "core/SKSystemWrapperClass.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "core/DirectoryListing.h"
#include "scene/object/SKRandom.h"
#include "core/SKScreenshotWriters.h"
#include "platform/win32/CaseBlindPath.h"
#include "platform/win32/FileSystem.h"
#include "platform/win32/Joystick.h"
#include "platform/win32/PathName.h"
#include "platform/win32/Timing.h"

SKSystemWrapperClass g_kSystemWrapper;

SKSystemWrapperClass::SKSystemWrapperClass()
{
    int64_t iFrequency = 0;
    m_bHasCounter = QueryPerformanceFrequency(&iFrequency) && iFrequency > 0;
    m_iCounterFrequency = m_bHasCounter ? iFrequency : 0;
}

void SKSystemWrapperClass::UpdateFrameTime()
{
    ++m_uiUpdateNumber;
    if (m_bFirstUpdate)
    {
        m_bFirstUpdate = false;
        m_uiFrameStart = timeGetTime();
    }
    uint32_t uiNow = timeGetTime();
    // Unsigned, so a wrap of the millisecond clock still gives the right difference.
    uint32_t uiElapsed = uiNow - m_uiFrameStart;
    m_uiFrameStart = uiNow;

    m_uiLastFrameTimeInMilliseconds = uiElapsed;
    m_fLastFrameTimeInSeconds = static_cast<float>(uiElapsed) * 0.001f;
    m_uiTotalTimeInMilliseconds += uiElapsed;
    m_fTotalTimeInSeconds += static_cast<float>(uiElapsed) * 0.001f;
    if (m_bHasCounter)
        QueryPerformanceCounter(&m_iFrameStartCounter);
}

float SKSystemWrapperClass::GetTimeSinceFrameStart() const
{
    if (m_bHasCounter)
    {
        int64_t iNow = 0;
        QueryPerformanceCounter(&iNow);
        return static_cast<float>(static_cast<double>(iNow - m_iFrameStartCounter) /
                                  static_cast<double>(m_iCounterFrequency));
    }
    return static_cast<float>(timeGetTime() - m_uiFrameStart) * 0.001f;
}

// Random numbers -------------------------------------------------------------------------------

int32_t SKSystemWrapperClass::GetRandomNumber(int32_t iRange)
{
    // Scripts may pass any integer; a range of 0 would divide by zero.
    if (iRange < 1)
        return 0;
    return SKRandom::Next() % iRange;
}

void SKSystemWrapperClass::SetRandomSeed(uint32_t uiSeed)
{
    SKRandom::Seed(uiSeed);
}

// Window and joysticks -------------------------------------------------------------------------

void SKSystemWrapperClass::SetWindowAndRenderer(HWND hWindow, NiRender* pkRenderer)
{
    m_hWindow = hWindow;
    m_pkRenderer = pkRenderer;
}

void SKSystemWrapperClass::SetInterface(NiObject* pkInterface)
{
    m_spInterface = pkInterface;
}

NiObject* SKSystemWrapperClass::GetInterface() const
{
    return m_spInterface;
}

void SKSystemWrapperClass::ReleaseInterface()
{
    m_spInterface = nullptr;
}

bool SKSystemWrapperClass::IsForeground() const
{
    // Without an engine window nothing is in front of it.
    HWND hForeground = GetForegroundWindow();
    if (!m_hWindow || !hForeground)
        return false;
    return hForeground == m_hWindow || IsChild(m_hWindow, hForeground) || IsChild(hForeground, m_hWindow);
}

float SKSystemWrapperClass::GetVerticalAspectRatio() const
{
    RECT kClient;
    if (!m_hWindow || !GetClientRect(m_hWindow, &kClient))
        return 1.0f;
    int32_t iWidth = kClient.right - kClient.left;
    int32_t iHeight = kClient.bottom - kClient.top;
    // A minimised window has no height.
    if (iHeight <= 0)
        return 1.0f;
    return static_cast<float>(iWidth) / static_cast<float>(iHeight);
}

bool SKSystemWrapperClass::UpdateJoystick(int32_t iIndex)
{
    if (m_iJoystickCount == -1)
        m_iJoystickCount = static_cast<int32_t>(joyGetNumDevs());
    if (iIndex < 0 || iIndex >= MAX_JOYSTICKS)
        return false;

    JoystickState& kState = m_akJoysticks[iIndex];
    if (!kState.m_bCapabilitiesRead)
    {
        // Asked once only, whether or not the device answers.
        kState.m_bCapabilitiesRead = true;
        JOYCAPSA kCaps{};
        if (joyGetDevCapsA(static_cast<uintptr_t>(iIndex), &kCaps, sizeof(kCaps)) != JOYERR_NOERROR)
            return false;
        const uint32_t auiMin[6] = {kCaps.wXmin, kCaps.wYmin, kCaps.wZmin,
                                    kCaps.wRmin, kCaps.wUmin, kCaps.wVmin};
        const uint32_t auiMax[6] = {kCaps.wXmax, kCaps.wYmax, kCaps.wZmax,
                                    kCaps.wRmax, kCaps.wUmax, kCaps.wVmax};
        const uint32_t auiPresent[6] = {1, 1, JOYCAPS_HASZ, JOYCAPS_HASR, JOYCAPS_HASU, JOYCAPS_HASV};
        for (int iAxis = 0; iAxis < 6; ++iAxis)
        {
            bool bPresent = iAxis < 2 || (kCaps.wCaps & auiPresent[iAxis]) != 0;
            kState.m_auiCentre[iAxis] = bPresent ? (auiMax[iAxis] - auiMin[iAxis]) / 2 : 0;
        }
        kState.m_bHasPointOfView = (kCaps.wCaps & JOYCAPS_HASPOV) != 0;
    }
    if (iIndex >= m_iJoystickCount)
        return false;

    JOYINFOEX kInfo{};
    kInfo.dwSize = sizeof(kInfo);
    kInfo.dwFlags = JOY_RETURNALL | JOY_USEDEADZONE;
    if (joyGetPosEx(static_cast<uint32_t>(iIndex), &kInfo) != JOYERR_NOERROR)
    {
        std::fill(std::begin(kState.m_aiAxis), std::end(kState.m_aiAxis), 0);
        kState.m_iPointOfView = -1;
        kState.m_uiButtons = 0;
        return false;
    }
    const uint32_t auiPosition[6] = {kInfo.dwXpos, kInfo.dwYpos, kInfo.dwZpos,
                                     kInfo.dwRpos, kInfo.dwUpos, kInfo.dwVpos};
    for (int iAxis = 0; iAxis < 6; ++iAxis)
        kState.m_aiAxis[iAxis] = static_cast<int32_t>(auiPosition[iAxis] - kState.m_auiCentre[iAxis]);
    bool bCentred = kInfo.dwPOV == JOY_POVCENTERED;
    kState.m_iPointOfView =
        kState.m_bHasPointOfView && !bCentred ? static_cast<int32_t>(kInfo.dwPOV / 100) : -1;
    kState.m_uiButtons = kInfo.dwButtons;
    return true;
}

const SKSystemWrapperClass::JoystickState& SKSystemWrapperClass::GetJoystickState(int32_t iIndex) const
{
    return m_akJoysticks[std::clamp(iIndex, 0, MAX_JOYSTICKS - 1)];
}

// Screenshots ----------------------------------------------------------------------------------

void SKSystemWrapperClass::SetDefaultScreenShotPath(const char* pcFolder)
{
    m_bHasScreenShotFolder = pcFolder != nullptr;
    m_kScreenShotFolder = pcFolder ? pcFolder : "";
}

const char* SKSystemWrapperClass::GetDefaultScreenShotPath() const
{
    return m_bHasScreenShotFolder ? m_kScreenShotFolder.c_str() : nullptr;
}

void SKSystemWrapperClass::SetScreenshotCapture(ScreenshotCapture pfnCapture)
{
    ms_pfnScreenshotCapture = pfnCapture;
}

void SKSystemWrapperClass::TakeScreenshot(int32_t iFormat, const char* pcName)
{
    if (!m_pkRenderer || !ms_pfnScreenshotCapture)
        return;
    if (iFormat != IMAGE_FORMAT_TGA && iFormat != IMAGE_FORMAT_BMP)
        return;
    std::unique_ptr<SKScreenshotImage> pkImage = ms_pfnScreenshotCapture(m_pkRenderer);
    if (!pkImage)
        return;

    std::string kPrefix = m_bHasScreenShotFolder ? m_kScreenShotFolder + "/" : std::string();
    if (pcName)
    {
        TakeScreenshotTo(kPrefix + pcName, iFormat, *pkImage);
        return;
    }
    // The first number without a file of that name; anything at the path, a folder or a dangling
    // link included, counts as taken, so no existing entry is ever replaced.
    const char* pcExtension = iFormat == IMAGE_FORMAT_TGA ? ".tga" : ".bmp";
    for (int32_t iNumber = 0; iNumber < INT32_MAX; ++iNumber)
    {
        char acName[32];
        std::snprintf(acName, sizeof(acName), "ScreenShot%03i%s", iNumber, pcExtension);
        std::string kPath = kPrefix + acName;
        struct stat kStat;
        if (lstat(kPath.c_str(), &kStat) != 0 && errno == ENOENT)
        {
            TakeScreenshotTo(kPath, iFormat, *pkImage);
            return;
        }
    }
}

bool SKSystemWrapperClass::TakeScreenshotTo(const std::string& kPath, int32_t iFormat,
                                            const SKScreenshotImage& kImage)
{
    if (iFormat == IMAGE_FORMAT_TGA)
        return SaveScreenshotTGA(kPath.c_str(), &kImage);
    return SaveScreenshotBMP(kPath.c_str(), &kImage);
}

// INI files ------------------------------------------------------------------------------------

namespace
{

constexpr std::string_view LINE_BREAKS = "\t\n\r";

// True when kRequested begins with kName, letters compared without case.
bool BeginsWithCaseBlind(std::string_view kRequested, std::string_view kName)
{
    if (kRequested.size() < kName.size())
        return false;
    for (size_t i = 0; i < kName.size(); ++i)
    {
        if (std::tolower(static_cast<unsigned char>(kRequested[i])) !=
            std::tolower(static_cast<unsigned char>(kName[i])))
            return false;
    }
    return true;
}

// The section and key scan over the whole text of an INI file.
std::optional<std::string_view> FindIniValue(std::string_view kText, std::string_view kSection,
                                             std::string_view kKey)
{
    size_t uiPos = 0;
    for (;;)
    {
        size_t uiOpen = kText.find('[', uiPos);
        if (uiOpen == std::string_view::npos)
            return std::nullopt;
        size_t uiClose = kText.find(']', uiOpen + 1);
        if (uiClose == std::string_view::npos)
            return std::nullopt;
        uiPos = uiClose;
        if (BeginsWithCaseBlind(kSection, kText.substr(uiOpen + 1, uiClose - uiOpen - 1)))
            break;
    }

    uiPos = kText.find_first_not_of(LINE_BREAKS, uiPos + 1);
    while (uiPos != std::string_view::npos)
    {
        size_t uiKeyEnd = kText.find_first_of("=[]\t\n\r", uiPos);
        bool bHasEquals = uiKeyEnd != std::string_view::npos && kText[uiKeyEnd] == '=';
        if (!bHasEquals && kText[uiPos] != ';')
            return std::nullopt;
        if (bHasEquals && BeginsWithCaseBlind(kKey, kText.substr(uiPos, uiKeyEnd - uiPos)))
        {
            size_t uiValue = uiKeyEnd + 1;
            size_t uiValueEnd = kText.find_first_of(LINE_BREAKS, uiValue);
            if (uiValueEnd == std::string_view::npos)
                uiValueEnd = kText.size();
            return kText.substr(uiValue, uiValueEnd - uiValue);
        }
        uiPos = kText.find_first_of(LINE_BREAKS, uiPos);
        if (uiPos == std::string_view::npos)
            return std::nullopt;
        uiPos = kText.find_first_not_of("\t\n\r ", uiPos);
    }
    return std::nullopt;
}

void CopyCut(std::string_view kText, char* pcBuffer, int32_t iBufferSize)
{
    if (!pcBuffer || iBufferSize <= 0)
        return;
    size_t uiLength = std::min(kText.size(), static_cast<size_t>(iBufferSize - 1));
    std::memcpy(pcBuffer, kText.data(), uiLength);
    pcBuffer[uiLength] = '\0';
}

// Reads an INI value of at most 255 characters, as the typed readers do.
std::optional<std::string> ReadIniFileValue(const char* pcSection, const char* pcKey, const char* pcFile)
{
    if (!pcFile)
        return std::nullopt;
    FILE* pkFile = std::fopen(win32::ResolvePath(pcFile).c_str(), "r");
    if (!pkFile)
        return std::nullopt;
    char acValue[256];
    bool bFound = SKSystemWrapperClass::ReadIniValue(pkFile, pcSection, pcKey, acValue, sizeof(acValue));
    std::fclose(pkFile);
    if (!bFound)
        return std::nullopt;
    return std::string(acValue);
}

} // namespace

bool SKSystemWrapperClass::ReadIniValue(FILE* pkFile, const char* pcSection, const char* pcKey,
                                        char* pcBuffer, int32_t iBufferSize)
{
    if (!pkFile || !pcSection || !pcKey)
        return false;
    std::string kText;
    char acChunk[4096];
    size_t uiRead;
    while ((uiRead = std::fread(acChunk, 1, sizeof(acChunk), pkFile)) > 0)
        kText.append(acChunk, uiRead);
    std::optional<std::string_view> kValue = FindIniValue(kText, pcSection, pcKey);
    if (!kValue)
        return false;
    CopyCut(*kValue, pcBuffer, iBufferSize);
    return true;
}

int32_t SKSystemWrapperClass::GetIniInt(const char* pcSection, const char* pcKey, int32_t iDefault,
                                        const char* pcFile)
{
    std::optional<std::string> kValue = ReadIniFileValue(pcSection, pcKey, pcFile);
    if (!kValue)
        return iDefault;
    // Decimal with leading white space and a sign; values beyond 32 bits saturate.
    long long llValue = std::strtoll(kValue->c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(llValue, INT32_MIN, INT32_MAX));
}

float SKSystemWrapperClass::GetIniFloat(const char* pcSection, const char* pcKey, float fDefault,
                                        const char* pcFile)
{
    std::optional<std::string> kValue = ReadIniFileValue(pcSection, pcKey, pcFile);
    if (!kValue)
        return fDefault;
    // Parsed in the "C" manner whatever the process locale: leading white space, then an
    // optional sign, digits and exponent; 0 when no number starts the text.
    std::string_view kText = *kValue;
    size_t uiStart = kText.find_first_not_of(" \t\n\v\f\r");
    if (uiStart == std::string_view::npos)
        return 0.0f;
    kText.remove_prefix(uiStart);
    if (!kText.empty() && kText[0] == '+')
        kText.remove_prefix(1);
    double dValue = 0.0;
    std::from_chars(kText.data(), kText.data() + kText.size(), dValue);
    return static_cast<float>(dValue);
}

bool SKSystemWrapperClass::GetIniString(const char* pcSection, const char* pcKey, const char* pcDefault,
                                        char* pcBuffer, int32_t iBufferSize, const char* pcFile)
{
    bool bFound = false;
    if (pcFile)
    {
        if (FILE* pkFile = std::fopen(win32::ResolvePath(pcFile).c_str(), "r"))
        {
            bFound = ReadIniValue(pkFile, pcSection, pcKey, pcBuffer, iBufferSize);
            std::fclose(pkFile);
        }
    }
    if (!bFound)
        CopyCut(pcDefault ? pcDefault : "", pcBuffer, iBufferSize);
    return bFound;
}

// Files ----------------------------------------------------------------------------------------

FILE* SKSystemWrapperClass::OpenFile(const char* pcPath, const char* pcMode)
{
    if (!pcPath || !pcMode)
        return nullptr;
    return std::fopen(win32::ResolvePath(pcPath).c_str(), pcMode);
}

void SKSystemWrapperClass::CloseFile(FILE* pkFile)
{
    if (pkFile)
        std::fclose(pkFile);
}

bool SKSystemWrapperClass::FileExists(const char* pcPath)
{
    if (!pcPath)
        return false;
    // A folder can be opened for reading here, but it is no file.
    std::string kPath = win32::ResolvePath(pcPath);
    struct stat kStat;
    if (stat(kPath.c_str(), &kStat) != 0 || S_ISDIR(kStat.st_mode))
        return false;
    FILE* pkFile = std::fopen(kPath.c_str(), "rb");
    if (!pkFile)
        return false;
    std::fclose(pkFile);
    return true;
}

bool SKSystemWrapperClass::ReadFromFile(FILE* pkFile, void* pvBuffer, int32_t iCount)
{
    if (!pkFile || !pvBuffer || iCount < 0)
        return false;
    return std::fread(pvBuffer, 1, static_cast<size_t>(iCount), pkFile) == static_cast<size_t>(iCount);
}

bool SKSystemWrapperClass::WriteToFile(FILE* pkFile, const void* pvBuffer, int32_t iCount)
{
    if (!pkFile || !pvBuffer || iCount < 0)
        return false;
    return std::fwrite(pvBuffer, 1, static_cast<size_t>(iCount), pkFile) == static_cast<size_t>(iCount);
}

bool SKSystemWrapperClass::SeekFile(FILE* pkFile, int32_t iOffset, int32_t iOrigin)
{
    static const int aiOrigins[] = {SEEK_CUR, SEEK_END, SEEK_SET};
    if (!pkFile || iOrigin < 0 || iOrigin > 2)
        return false;
    return std::fseek(pkFile, iOffset, aiOrigins[iOrigin]) == 0;
}

int32_t SKSystemWrapperClass::GetFileLength(FILE* pkFile)
{
    if (!pkFile)
        return 0;
    long lPosition = std::ftell(pkFile);
    if (lPosition < 0 || std::fseek(pkFile, 0, SEEK_END) != 0)
        return 0;
    long lLength = std::ftell(pkFile);
    std::fseek(pkFile, lPosition, SEEK_SET);
    // A length that does not fit the result counts as unreachable.
    if (lLength < 0 || lLength > INT32_MAX)
        return 0;
    return static_cast<int32_t>(lLength);
}

bool SKSystemWrapperClass::GetCurrentDir(char* pcBuffer, int32_t iBufferSize)
{
    if (!pcBuffer || iBufferSize <= 0)
        return false;
    return getcwd(pcBuffer, static_cast<size_t>(iBufferSize)) != nullptr;
}

bool SKSystemWrapperClass::SetCurrentDir(const char* pcPath)
{
    return pcPath && chdir(win32::ResolvePath(pcPath).c_str()) == 0;
}

bool SKSystemWrapperClass::MakeDirectory(const char* pcPath)
{
    return pcPath && CreateDirectoryA(pcPath);
}

int32_t SKSystemWrapperClass::SetFileReadOnly(const char* pcPath, bool bReadOnly)
{
    uint32_t uiAttributes = pcPath ? GetFileAttributesA(pcPath) : INVALID_FILE_ATTRIBUTES;
    if (uiAttributes == INVALID_FILE_ATTRIBUTES)
        return -1;
    uiAttributes =
        bReadOnly ? uiAttributes | FILE_ATTRIBUTE_READONLY : uiAttributes & ~FILE_ATTRIBUTE_READONLY;
    return SetFileAttributesA(pcPath, uiAttributes ? uiAttributes : FILE_ATTRIBUTE_NORMAL) ? 0 : -1;
}

// Paths ----------------------------------------------------------------------------------------

void SKSystemWrapperClass::SplitPath(const char* pcPath, std::string* pkFolder, std::string* pkFile)
{
    std::string kDrive, kFolder, kName, kExtension;
    win32::SplitPath(pcPath ? pcPath : "", &kDrive, &kFolder, &kName, &kExtension);
    if (pkFolder)
        *pkFolder = kDrive + kFolder;
    if (pkFile)
        *pkFile = kName + kExtension;
}

std::string SKSystemWrapperClass::JoinPath(std::string_view kFirst,
                                           std::initializer_list<std::string_view> kParts)
{
    std::string kOut(kFirst);
    for (std::string_view kPart : kParts)
    {
        if (kOut.empty() || (kOut.back() != '/' && kOut.back() != '\\'))
            kOut += kOut.find('\\') != std::string::npos ? '\\' : '/';
        kOut += kPart;
    }
    return kOut;
}

// Folder trees ---------------------------------------------------------------------------------

namespace
{

// Deepest first: a folder's subfolders, then its files, then the folder itself.
void DeleteListedTree(const DirectoryListing& kFolder)
{
    // The entries of a folder can only go while the folder itself may be written.
    SetFileAttributesA(kFolder.GetPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const DirectoryListing& kSubfolder : kFolder.GetSubfolders())
        DeleteListedTree(kSubfolder);
    for (const std::string& kFile : kFolder.GetFiles())
    {
        std::string kFilePath = kFolder.GetPath() + "/" + kFile;
        SetFileAttributesA(kFilePath.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(kFilePath.c_str());
    }
    RemoveDirectoryA(kFolder.GetPath().c_str());
}

void CopyListedTree(const std::string& kDestination, const DirectoryListing& kSource)
{
    CreateDirectoryA(kDestination.c_str());
    for (const DirectoryListing& kSubfolder : kSource.GetSubfolders())
        CopyListedTree(kDestination + "/" + kSubfolder.GetName(), kSubfolder);
    for (const std::string& kFile : kSource.GetFiles())
    {
        std::string kCopy = kDestination + "/" + kFile;
        if (CopyFileA((kSource.GetPath() + "/" + kFile).c_str(), kCopy.c_str(), true))
            SetFileAttributesA(kCopy.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// Whether the folder is a real folder rather than a link to one (or nothing).
bool IsRealFolder(const char* pcPath)
{
    uint32_t uiAttributes = GetFileAttributesA(pcPath);
    return uiAttributes != INVALID_FILE_ATTRIBUTES && (uiAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

bool SKSystemWrapperClass::DeleteDirectoryTree(const char* pcPath)
{
    // A link to a folder is not the tree: deleting through it would reach outside.
    if (!pcPath || !IsRealFolder(pcPath))
        return false;
    DirectoryListing kListing;
    kListing.Build(pcPath, "*", true);
    DeleteListedTree(kListing);
    return GetFileAttributesA(pcPath) == INVALID_FILE_ATTRIBUTES;
}

bool SKSystemWrapperClass::CopyDirectoryTree(const char* pcDestination, const char* pcSource)
{
    if (!pcDestination || !pcSource)
        return false;
    if (std::strcmp(pcDestination, pcSource) == 0)
        return true;
    // A destination inside the source would copy the tree into itself.
    std::error_code kError;
    std::filesystem::path kSource = std::filesystem::weakly_canonical(win32::ResolvePath(pcSource), kError);
    std::filesystem::path kDestination =
        std::filesystem::weakly_canonical(win32::ResolvePath(pcDestination), kError);
    if (kError)
        return false;
    if (std::mismatch(kSource.begin(), kSource.end(), kDestination.begin(), kDestination.end()).first ==
        kSource.end())
    {
        return false;
    }
    DirectoryListing kListing;
    kListing.Build(pcSource, "*", true);
    CopyListedTree(pcDestination, kListing);
    return true;
}
