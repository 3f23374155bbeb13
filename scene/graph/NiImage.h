#pragma once

#include "scene/graph/NiRawImageData.h"
#include "scene/object/NiLinkRecord.h"
#include "scene/object/NiObject.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>
#include <optional>
#include <string>

class NiImage;
// The renderer interface. The image classes keep renderers in a list and ask each to prepare an
// image (NiRender::PrepareImage); a dying renderer takes itself off the list.
class NiRender;

// What an image's loader keeps between LoadBinary and ResolveLinks.
class NiImageLinkRecord : public NiLinkRecord
{
public:
    // 1: the record named a file; 0: it linked a raw image.
    uint8_t m_ucHasName = 1;
    // The image loaded earlier from the same resolved file name, which this record's id shares.
    NiImage* m_pkShared = nullptr;
    uint32_t m_uiRawLinkID = 0;
};

// The image that texture properties reference: it names an image file or holds raw image data,
// carries the options that steer how a renderer turns it into a texture, and streams as its own
// .nif record. Images are made by the factory the renderer library installs (device images with
// per-renderer surface copies); without one, creation gives null. Images loaded from one stream
// with the same resolved file name are one object.
//
// Contents: creation / class-wide state (factory, error, renderer list, options) / files and raw
// data / object operations.
class NiImage : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiImageLinkRecord;

    // Preferred texture formats.
    enum PrefTexFormat : int32_t
    {
        TEX_RGB555 = 0,
        TEX_RGB565 = 1,
        TEX_RGB888 = 2,
        TEX_RGBA5551 = 3,
        TEX_RGBA4444 = 4,
        TEX_RGBA8888 = 5,
        TEX_PAL8 = 6,
        TEX_DEFAULT = 7
    };

    // Values of the flag word.
    enum Flags : uint32_t
    {
        DEVICE_COPIES = 1, // the device image holds device copies
        MIPMAPPED = 2,
        SECOND_OPTION = 4 // the second creation option; nothing reads it
    };

    // Creation modes: off, on, or the class-wide default.
    enum Mode : int32_t
    {
        MODE_OFF = 0,
        MODE_ON = 1,
        MODE_DEFAULT = 2
    };

    // Last-error codes the creation operations set (device images set further codes).
    enum Error : int32_t
    {
        ERR_FACTORY_FAILED = 4,
        ERR_NO_FILE_NAME = 5,
        ERR_NO_RAW_DATA = 6
    };

    // Makes a new device image (count 0), or null.
    using CreateFunction = NiImage* (*)();
    // A renderer makes sure it holds its device copy of the image; false when it cannot.
    using PrepareFunction = bool (*)(NiRender* pkRenderer, NiImage* pkImage);
    // Reads an image file into the target raw image; false when it cannot.
    using FileLoader = bool (*)(const char* pcFileName, NiRawImageData& kTarget);

    NiImage();
    ~NiImage() override;

    //--- Creation: each returns a new image with count 0 (the caller takes the first reference)
    // or null with the last error telling why (unchanged when no factory is installed or a
    // listed renderer cannot prepare the image). Every listed renderer prepares the new image.
    // The preferred format is a PrefTexFormat value; any other value stands for TEX_DEFAULT.
    static NiImage* CreateFromFile(const char* pcFileName, int32_t iMipmapMode, int32_t iPrefFormat,
                                   int32_t iSecondMode);
    // The call owns one reference to the raw image and releases it on return.
    static NiImage* CreateFromRawData(NiRefPtr<NiRawImageData> spRaw, int32_t iMipmapMode,
                                      int32_t iPrefFormat, int32_t iSecondMode);

    //--- Class-wide state. ---
    static void SetImageFactory(CreateFunction pfnFactory);
    static CreateFunction GetImageFactory();
    // Replaces how a listed renderer is asked to prepare an image; null restores the renderer's
    // own PrepareImage.
    static void SetPrepareFunction(PrepareFunction pfnPrepare);
    static void SetFileLoader(FileLoader pfnLoader);
    static int32_t GetLastError();
    static void SetLastError(int32_t iError);
    // The defaults that MODE_DEFAULT stands for; both off.
    static void SetDefaultMipmap(bool bMipmap);
    static bool GetDefaultMipmap();
    static void SetDefaultSecondOption(bool bSecond);
    static bool GetDefaultSecondOption();

    // The renderers that hold device copies of images (not counted). Add appends (null is
    // ignored, duplicates are not looked for); Remove takes out the first entry, moving the
    // iteration cursor on when it stands there.
    static void AddRenderer(NiRender* pkRenderer);
    static void RemoveRenderer(NiRender* pkRenderer);
    static void RemoveAllRenderers();
    static void ResetRendererIterator();
    static NiRender* GetNextRenderer();
    static uint32_t GetRendererCount();
    // Asks every listed renderer in order to prepare this image; false at the first failure.
    bool PrepareForRenderers();

    //--- Files and raw data. ---
    // Reads the file into the class-wide scratch raw image, which stays valid until the next
    // call; null when the file cannot be read.
    static NiRawImageData* LoadRawFromFile(const char* pcFileName);
    // The mip level count of a power-of-two size: the smaller of the two base-2 logarithms; 0
    // when either side is 0 or not a power of two.
    static uint32_t ComputeMipmapLevels(uint32_t uiWidth, uint32_t uiHeight);
    // Reads the image's file and saves it as a .nif file of the same base name beside it, which
    // then becomes the image's file name. False when there is no name or the file cannot be read.
    bool ConvertToNif();

    const char* GetFileName() const { return m_pURL ? m_pURL->c_str() : nullptr; }
    // A copy of the name; null removes it.
    void SetFileName(const char* pcFileName);
    NiRawImageData* GetRawImage() const { return m_spRaw; }
    void SetRawImage(NiRawImageData* pkRaw) { m_spRaw = pkRaw; }
    // A deep copy of the raw image (count 0), or null.
    NiRawImageData* CreateRawImageCopy() const;

    uint32_t GetWidth() const { return m_uiWidth; }
    uint32_t GetHeight() const { return m_uiHeight; }
    uint32_t GetMipLevels() const { return m_uiMipLevels; }
    uint32_t GetImageID() const { return m_uiImageID; }
    uint32_t GetRevision() const { return m_uiRevision; }
    // Whoever changes the raw pixels calls this, then MarkChanged.
    void IncrementRevision() { ++m_uiRevision; }
    uint32_t GetFlags() const { return m_uiFlags; }
    PrefTexFormat GetPrefTexFormat() const { return m_ePrefTexFormat; }
    void SetPrefTexFormat(PrefTexFormat eFormat) { m_ePrefTexFormat = eFormat; }
    float GetImageScale() const { return m_fImageScale; }
    void SetImageScale(float fScale) { m_fImageScale = fScale; }

    //--- Object operations. Images are not cloned; every image saves as "NiImage", so a stream
    // never names a device class. ---
    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
    // Marks the device copies for a fresh upload; the base has none and answers false.
    virtual bool MarkChanged();

protected:
    bool HasFileName() const { return m_pURL && !m_pURL->empty(); }
    // Steps shared by both creation paths: a new image from the factory; then flags, format and the
    // renderers' preparation.
    static NiImage* NewFromFactory();
    static NiImage* FinishCreation(NiImage* pkImage, int32_t iMipmapMode, int32_t iPrefFormat,
                                   int32_t iSecondMode);
    // The format for a stored or requested value: values without a table entry become TEX_DEFAULT.
    static PrefTexFormat ToPrefTexFormat(int64_t iValue);

    std::optional<std::string> m_pURL;
    NiRefPtr<NiRawImageData> m_spRaw;
    uint32_t m_uiWidth = 0;
    uint32_t m_uiHeight = 0;
    uint32_t m_uiMipLevels = 0;
    uint32_t m_uiImageID = 0;
    uint32_t m_uiRevision = 0;
    uint32_t m_uiFlags = 0;
    // Every creation path sets it.
    PrefTexFormat m_ePrefTexFormat = TEX_DEFAULT;
    float m_fImageScale = 128.5f;
};
