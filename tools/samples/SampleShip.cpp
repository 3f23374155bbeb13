#include "tools/samples/SampleShip.h"

#include "core/SKScreenshotImage.h"
#include "core/SKScreenshotWriters.h"
#include "core/SKString.h"
#include "properties/PhaserProperty.h"
#include "properties/PropertyTypeRegistry.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKPropertyScriptFile.h"
#include "properties/SubsystemProperty.h"
#include "properties/TorpedoTubeProperty.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/graph/NiTriShape.h"
#include "scene/graph/NiTriShapeData.h"
#include "scene/object/NiColor.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiTexCoord.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr float PI = 3.14159265f;

// The hull plating every shape of the ship wears, written beside the model: the model names the
// file, so opening it reads the texture through the model's folder.
constexpr const char* HULL_TEXTURE = "SampleShipHull.tga";
constexpr uint32_t TEXTURE_SIZE = 64;

// The plating as the one TGA writer of the engine takes it: grey panels, darker seams between
// them and a row of lit windows.
class HullPlating : public SKScreenshotImage
{
public:
    HullPlating() : m_kPixels(3 * TEXTURE_SIZE * TEXTURE_SIZE)
    {
        for (uint32_t y = 0; y < TEXTURE_SIZE; ++y)
            for (uint32_t x = 0; x < TEXTURE_SIZE; ++x)
            {
                const bool bSeam = x % 16 == 0 || y % 16 == 0;
                const bool bWindow = y % 32 == 8 && x % 4 == 2;
                const uint8_t ucPanel = static_cast<uint8_t>(200 + 12 * ((x / 16 + y / 16) % 2));
                const uint8_t aucColour[3] = {bWindow ? uint8_t(255)
                                              : bSeam ? uint8_t(120)
                                                      : ucPanel,
                                              bWindow ? uint8_t(240)
                                              : bSeam ? uint8_t(120)
                                                      : ucPanel,
                                              bWindow ? uint8_t(170)
                                              : bSeam ? uint8_t(130)
                                                      : ucPanel};
                std::copy(aucColour, aucColour + 3, &m_kPixels[3 * (y * TEXTURE_SIZE + x)]);
            }
    }

    Format GetFormat() const override { return FORMAT_RGB; }
    uint32_t GetWidth() const override { return TEXTURE_SIZE; }
    uint32_t GetHeight() const override { return TEXTURE_SIZE; }
    uint32_t GetRowBytes() const override { return 3 * TEXTURE_SIZE; }
    const uint8_t* GetPixels() const override { return m_kPixels.data(); }
    // The writer asks for blue, green, red bytes.
    bool ConvertTo(const Layout& kLayout, uint32_t uiRowBytes, uint8_t* pBuffer) const override
    {
        if (kLayout.m_uiBitsPerPixel != 24)
            return false;
        for (uint32_t y = 0; y < TEXTURE_SIZE; ++y)
            for (uint32_t x = 0; x < TEXTURE_SIZE; ++x)
            {
                const uint8_t* pucFrom = &m_kPixels[3 * (y * TEXTURE_SIZE + x)];
                uint8_t* pucTo = pBuffer + y * uiRowBytes + 3 * x;
                pucTo[0] = pucFrom[2];
                pucTo[1] = pucFrom[1];
                pucTo[2] = pucFrom[0];
            }
        return true;
    }

private:
    std::vector<uint8_t> m_kPixels;
};

// An ellipsoid of rings along the ship's forward axis (y), each ring a circle in x and z, closed
// at both ends by a pole. Each ring repeats its first vertex at its end, so that the texture
// wraps once around without a seam running backwards across it; the poles are rings of one
// point, so that each triangle of a cap has the texture column of its ring.
NiTriShape* MakeEllipsoid(const char* pcName, const NiPoint3& kCentre, const NiPoint3& kRadii,
                          uint16_t usRings, uint16_t usSegments, const NiColorA& kBow, const NiColorA& kStern)
{
    const uint16_t usColumns = static_cast<uint16_t>(usSegments + 1);
    // The stern pole, the rings, the bow pole.
    const uint16_t usLatitudes = static_cast<uint16_t>(usRings + 2);
    const uint16_t usVertices = static_cast<uint16_t>(usLatitudes * usColumns);
    auto* pkVertex = new NiPoint3[usVertices];
    auto* pkNormal = new NiPoint3[usVertices];
    auto* pkColor = new NiColorA[usVertices];
    auto* pkTexture = new NiTexCoord[usVertices];
    const float fRingSpan = static_cast<float>(std::max<uint16_t>(usRings - 1, 1));
    for (uint16_t k = 0; k < usLatitudes; ++k)
    {
        // Rings from stern to bow, half a ring's spacing in from the poles.
        const float fRing = k == 0                 ? -0.5f
                            : k == usLatitudes - 1 ? static_cast<float>(usRings) - 0.5f
                                                   : static_cast<float>(k - 1);
        const float fAngle = PI * (fRing + 0.5f) / static_cast<float>(usRings);
        const float fAlong = -std::cos(fAngle);
        const float fWidth = k == 0 || k == usLatitudes - 1 ? 0.0f : std::sin(fAngle);
        const float fLength = fRing / fRingSpan;
        const float fShade = std::clamp(fLength, 0.0f, 1.0f);
        for (uint16_t s = 0; s < usColumns; ++s)
        {
            const float fTurn = 2.0f * PI * static_cast<float>(s) / static_cast<float>(usSegments);
            const uint16_t i = static_cast<uint16_t>(k * usColumns + s);
            const NiPoint3 kUnit(fWidth * std::cos(fTurn), fAlong, fWidth * std::sin(fTurn));
            pkVertex[i] = NiPoint3(kCentre.x + kRadii.x * kUnit.x, kCentre.y + kRadii.y * kUnit.y,
                                   kCentre.z + kRadii.z * kUnit.z);
            pkNormal[i] = kUnit;
            // Lighter on top, from the stern's colour to the bow's.
            const float fTop = 0.75f + 0.25f * kUnit.z;
            pkColor[i] = NiColorA((kStern.r + (kBow.r - kStern.r) * fShade) * fTop,
                                  (kStern.g + (kBow.g - kStern.g) * fShade) * fTop,
                                  (kStern.b + (kBow.b - kStern.b) * fShade) * fTop, 1.0f);
            // The plating repeats four times along the ship and twice around it.
            pkTexture[i] =
                NiTexCoord(2.0f * static_cast<float>(s) / static_cast<float>(usSegments), 4.0f * fLength);
        }
    }
    // Two triangles for each quad between rings, one for each quad that meets a pole.
    const uint16_t usTriangles = static_cast<uint16_t>(2 * usSegments * usRings);
    auto* pusList = new uint16_t[3u * usTriangles];
    uint32_t uiAt = 0;
    for (uint16_t k = 0; k + 1 < usLatitudes; ++k)
        for (uint16_t s = 0; s < usSegments; ++s)
        {
            const uint16_t a = static_cast<uint16_t>(k * usColumns + s);
            const uint16_t b = static_cast<uint16_t>(a + 1);
            const uint16_t c = static_cast<uint16_t>(a + usColumns);
            const uint16_t d = static_cast<uint16_t>(b + usColumns);
            if (k > 0)
                for (uint16_t v : {a, c, b})
                    pusList[uiAt++] = v;
            if (k + 2 < usLatitudes)
                for (uint16_t v : {b, c, d})
                    pusList[uiAt++] = v;
        }
    auto* pkData =
        new NiTriShapeData(usVertices, pkVertex, pkNormal, pkColor, pkTexture, usTriangles, pusList);
    auto* pkShape = new NiTriShape(pkData);
    pkShape->SetName(pcName);
    return pkShape;
}

NiNode* MakeHardpoint(const char* pcName, const NiPoint3& kAt)
{
    auto* pkNode = new NiNode;
    pkNode->SetName(pcName);
    pkNode->SetTranslate(kAt);
    return pkNode;
}

struct Hardpoint
{
    const char* pcNode;
    NiPoint3 kAt;
};

const Hardpoint HARDPOINTS[] = {
    {"Port Phaser", NiPoint3(-2.0f, 4.0f, 0.8f)},     {"Starboard Phaser", NiPoint3(2.0f, 4.0f, 0.8f)},
    {"Forward Torpedo", NiPoint3(0.0f, 8.5f, -0.3f)}, {"Shield Generator", NiPoint3(0.0f, 0.0f, 1.2f)},
    {"Impulse Engine", NiPoint3(0.0f, -7.5f, 0.4f)},  {"Sensor Array", NiPoint3(0.0f, 6.0f, -1.0f)},
};

NiNode* BuildShip(const SampleShipOptions& kOptions)
{
    auto* pkRoot = new NiNode;
    pkRoot->SetName(kOptions.kName.c_str());
    const NiColorA kBow(0.80f, 0.82f, 0.88f, 1.0f);
    const NiColorA kStern(0.45f, 0.50f, 0.62f, 1.0f);
    if (kOptions.uiTriangles == 0)
        pkRoot->AddChild(MakeEllipsoid("Hull", NiPoint3(0.0f, 0.0f, 0.0f), NiPoint3(2.6f, 9.0f, 1.4f), 14, 18,
                                       kBow, kStern));
    else
    {
        // Hull sections of 100 segments, each below the 16-bit vertex and triangle limits; a
        // section of n rings has 200 n triangles.
        const uint32_t uiSections = (kOptions.uiTriangles + 19999) / 20000;
        const uint32_t uiPerSection = kOptions.uiTriangles / uiSections;
        const uint16_t usRings = static_cast<uint16_t>(std::max<uint32_t>(uiPerSection / 200, 1));
        for (uint32_t i = 0; i < uiSections; ++i)
        {
            const std::string kName = "Hull Section " + std::to_string(i + 1);
            const float fOffset = (static_cast<float>(i) - 0.5f * static_cast<float>(uiSections - 1)) * 0.2f;
            pkRoot->AddChild(MakeEllipsoid(kName.c_str(), NiPoint3(0.0f, 0.0f, fOffset),
                                           NiPoint3(2.6f, 9.0f, 1.4f), usRings, 100, kBow, kStern));
        }
    }
    const NiColorA kGlow(0.55f, 0.25f, 0.20f, 1.0f);
    pkRoot->AddChild(MakeEllipsoid("Port Nacelle", NiPoint3(-3.6f, -4.0f, 1.6f), NiPoint3(0.6f, 4.0f, 0.6f),
                                   8, 10, kBow, kGlow));
    pkRoot->AddChild(MakeEllipsoid("Starboard Nacelle", NiPoint3(3.6f, -4.0f, 1.6f),
                                   NiPoint3(0.6f, 4.0f, 0.6f), 8, 10, kBow, kGlow));
    // The shapes share one texture property naming the plating by file name alone; it is put on
    // the shapes rather than the root, so that what the editor hangs under the root stays plain.
    auto* pkImage = new NiImage;
    pkImage->SetFileName(HULL_TEXTURE);
    NiRefPtr<NiTextureProperty> spPlating = new NiTextureProperty;
    spPlating->SetImage(pkImage);
    for (uint32_t i = 0; i < pkRoot->GetArrayCount(); ++i)
        if (NiAVObject* pkShape = pkRoot->GetAt(i))
            pkShape->PrependProperty(spPlating.Get());
    for (const Hardpoint& kPoint : HARDPOINTS)
        pkRoot->AddChild(MakeHardpoint(kPoint.pcNode, kPoint.kAt));
    for (uint32_t i = 0; i < kOptions.uiExtraProperties; ++i)
    {
        const std::string kName = "Hardpoint " + std::to_string(i + 1);
        const float fAngle =
            2.0f * PI * static_cast<float>(i) / static_cast<float>(kOptions.uiExtraProperties);
        pkRoot->AddChild(
            MakeHardpoint(kName.c_str(), NiPoint3(2.0f * std::cos(fAngle), 8.0f * std::sin(fAngle), 0.5f)));
    }
    pkRoot->UpdateSubtree(0.0f);
    return pkRoot;
}

// A template of the sample: a property made by type name, set up by the caller.
struct Template
{
    SKModelProperty* pkProperty;
    const char* pcNode;
};

void Release(std::vector<Template>& kTemplates)
{
    for (Template& kTemplate : kTemplates)
        kTemplate.pkProperty->DecRefCount();
    kTemplates.clear();
}

SKModelProperty* MakeProperty(const char* pcType, const std::string& kName)
{
    return CreatePropertyByTypeName(pcType, kName.c_str());
}

std::vector<Template> ShipTemplates(const SampleShipOptions& kOptions)
{
    std::vector<Template> kTemplates;
    auto* pkPort = static_cast<PhaserProperty*>(MakeProperty("Phaser", "Port Phaser"));
    pkPort->SetOrientation(NiPoint3(0.0f, 1.0f, 0.0f), NiPoint3(0.0f, 0.0f, 1.0f));
    pkPort->SetPosition(-2.0f, 4.0f, 0.8f);
    kTemplates.push_back({pkPort, "Port Phaser"});
    auto* pkStarboard = static_cast<PhaserProperty*>(MakeProperty("Phaser", "Starboard Phaser"));
    pkStarboard->SetOrientation(NiPoint3(0.0f, 1.0f, 0.0f), NiPoint3(0.0f, 0.0f, 1.0f));
    pkStarboard->SetPosition(2.0f, 4.0f, 0.8f);
    kTemplates.push_back({pkStarboard, "Starboard Phaser"});
    auto* pkTube = static_cast<TorpedoTubeProperty*>(MakeProperty("Torpedo Tube", "Forward Torpedo"));
    pkTube->SetDirection(NiPoint3(0.0f, 1.0f, 0.0f));
    pkTube->SetRight(NiPoint3(1.0f, 0.0f, 0.0f));
    pkTube->SetPosition(0.0f, 8.5f, -0.3f);
    kTemplates.push_back({pkTube, "Forward Torpedo"});
    auto* pkShield = static_cast<SubsystemProperty*>(MakeProperty("Shield", "Shield Generator"));
    pkShield->SetPosition(0.0f, 0.0f, 1.2f);
    kTemplates.push_back({pkShield, "Shield Generator"});
    auto* pkImpulse =
        static_cast<SubsystemProperty*>(MakeProperty("Impulse Engine System", "Impulse Engines"));
    pkImpulse->SetPosition(0.0f, -7.5f, 0.4f);
    kTemplates.push_back({pkImpulse, "Impulse Engine"});
    auto* pkHull = static_cast<SubsystemProperty*>(MakeProperty("Hull", "Hull"));
    pkHull->SetMaxCondition(5000.0f);
    kTemplates.push_back({pkHull, kOptions.uiTriangles == 0 ? "Hull" : "Hull Section 1"});
    for (uint32_t i = 0; i < kOptions.uiExtraProperties; ++i)
    {
        const std::string kName = "Hardpoint " + std::to_string(i + 1);
        auto* pkProperty =
            static_cast<SubsystemProperty*>(MakeProperty("Repair Subsystem", kName + " Repair"));
        pkProperty->SetMaxCondition(100.0f + static_cast<float>(i));
        kTemplates.push_back({pkProperty, nullptr});
    }
    return kTemplates;
}

// The templates as a model's property script holds them: each a local template attached to its
// node, and the global sensor template on the sensor array.
bool WriteScript(const std::string& kPath, const std::string& kFileName, std::vector<Template>& kTemplates)
{
    SKModelPropertyManager kManager;
    SKModelPropertySet kSet;
    uint32_t uiExtra = 0;
    for (Template& kTemplate : kTemplates)
    {
        kTemplate.pkProperty->IncRefCount();
        kManager.RegisterLocalTemplate(kTemplate.pkProperty);
        const std::string kNode =
            kTemplate.pcNode != nullptr ? kTemplate.pcNode : "Hardpoint " + std::to_string(++uiExtra);
        kSet.AddToSet(kNode.c_str(), kTemplate.pkProperty);
    }
    SKModelProperty* pkSensor = MakeProperty("Sensor", "Standard Sensor");
    kManager.RegisterGlobalTemplate(pkSensor);
    kSet.AddToSet("Sensor Array", pkSensor);
    const bool bWritten = SKPropertyScriptFile::SaveText(
        kPath.c_str(), SKPropertyScriptFile::PropertyScriptText(kFileName.c_str(), nullptr, kSet, kManager));
    kManager.ClearLocalTemplates();
    kManager.ClearGlobalTemplates();
    return bWritten;
}
} // namespace

bool WriteSampleShip(const std::string& kFolder, const SampleShipOptions& kOptions)
{
    const HullPlating kPlating;
    if (!SaveScreenshotTGA((kFolder + "/" + HULL_TEXTURE).c_str(), &kPlating))
        return false;
    NiNode* pkRoot = BuildShip(kOptions);
    NiStream kStream;
    kStream.AddTopObject(pkRoot);
    if (!kStream.SaveFile((kFolder + "/" + kOptions.kName + ".nif").c_str()))
        return false;
    std::vector<Template> kTemplates = ShipTemplates(kOptions);
    const bool bWritten =
        WriteScript(kFolder + "/" + kOptions.kName + ".py", kOptions.kName + ".py", kTemplates);
    Release(kTemplates);
    return bWritten;
}

bool WriteSampleGlobalTemplates(const std::string& kPath)
{
    std::vector<Template> kTemplates;
    auto* pkSensor = static_cast<SubsystemProperty*>(MakeProperty("Sensor", "Standard Sensor"));
    pkSensor->SetMaxCondition(800.0f);
    kTemplates.push_back({pkSensor, nullptr});
    auto* pkRepair = static_cast<SubsystemProperty*>(MakeProperty("Repair Subsystem", "Standard Repair"));
    pkRepair->SetMaxCondition(600.0f);
    kTemplates.push_back({pkRepair, nullptr});

    SKModelPropertyManager kManager;
    for (Template& kTemplate : kTemplates)
    {
        kTemplate.pkProperty->IncRefCount();
        kManager.RegisterGlobalTemplate(kTemplate.pkProperty);
    }
    const bool bWritten =
        SKPropertyScriptFile::SaveText(kPath.c_str(), SKPropertyScriptFile::GlobalTemplatesText(kManager));
    kManager.ClearGlobalTemplates();
    Release(kTemplates);
    return bWritten;
}
