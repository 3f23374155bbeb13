#pragma once

#include "scene/animation/NiForce.h"
#include "scene/object/NiStream.h"

#include <tuple>

// What every force and collider does with its fields alike: cloning copies them all, the file
// record loads and saves the stored ones in file order (then the working geometry returns to
// the loaded one), and two are equivalent when their stored fields are equal. TForce names its
// fields with two functions this base may call (it is a friend):
//     template <class TSelf> static auto Record(TSelf& kSelf);   // std::tie of the stored fields
//     template <class TSelf> static auto State(TSelf& kSelf);    // std::tie of every field
// Numbers travel as they lie in memory; points read and write themselves.
template <class TForce> class NiForceRecord : public NiForce
{
public:
    NiObject* MakeClone() override
    {
        auto* pkClone = new TForce;
        TForce::State(*pkClone) = TForce::State(Self());
        CopyToClone(pkClone);
        return pkClone;
    }

    void LoadBinary(NiStream& kStream) override
    {
        NiForce::LoadBinary(kStream);
        std::apply([&kStream](auto&... kField) { (LoadField(kStream, kField), ...); },
                   TForce::Record(Self()));
        Reset();
    }

    void SaveBinary(NiStream& kStream) override
    {
        NiForce::SaveBinary(kStream);
        std::apply([&kStream](const auto&... kField) { (SaveField(kStream, kField), ...); },
                   TForce::Record(Self()));
    }

    bool IsEquivalent(const NiObject* pkObject) const override
    {
        return NiForce::IsEquivalent(pkObject) &&
               TForce::Record(Self()) == TForce::Record(*static_cast<const TForce*>(pkObject));
    }

protected:
    NiForceRecord() = default;

private:
    TForce& Self() { return static_cast<TForce&>(*this); }
    const TForce& Self() const { return static_cast<const TForce&>(*this); }

    template <class T> static void LoadField(NiStream& kStream, T& kField)
    {
        if constexpr (requires { kField.LoadBinary(kStream); })
            kField.LoadBinary(kStream);
        else
            kStream.Load(kField);
    }
    template <class T> static void SaveField(NiStream& kStream, const T& kField)
    {
        if constexpr (requires { kField.SaveBinary(kStream); })
            kField.SaveBinary(kStream);
        else
            kStream.Save(kField);
    }
};
