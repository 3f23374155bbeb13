#pragma once

#include "platform/mfc/CComboBox.h"
#include "platform/mfc/CPropertyPage.h"
#include "properties/SKPropertyField.h"
#include "scene/object/NiPoint3.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CPropertyDoc;
class CPropertyEditSheet;
class SKFieldSet;
class SKModelProperty;
class CSlideButton;
class CSpinButton;
class NiRotationMatrix;

// The base of the property pages. A page edits the fields one class level adds to the property
// its sheet holds; it reads and writes them through the level's field declarations: each page
// lists its controls with the field each shows (BindFields), and the base keeps one member per
// control, loads the members from the property (converting to the page's units), exchanges them
// with the controls in the listed order and writes them back (converting again, and keeping
// numbers within the range the declaration gives).
//
// Looking is not editing: applying writes only the fields whose members differ from what the
// page loaded (typed, picked or set by the page's buttons). An edit whose text is still what the
// page showed keeps the member's exact value rather than the shown digits, and a field written
// earlier whose text went back to what was shown gets its loaded value again.
//
// Leaving the page and the sheet's OK apply it (ApplyToProperty). AddPages adds the page of the
// parent class level, and that page's own parent, to the sheet.
class CZenaraPropertyPage : public CPropertyPage
{
    DECLARE_DYNCREATE(CZenaraPropertyPage)

public:
    CZenaraPropertyPage() = default;
    explicit CZenaraPropertyPage(UINT nIDTemplate);
    ~CZenaraPropertyPage() override;

    void DoDataExchange(CDataExchange* pDX) override;
    // The platform's initialisation, then the members from the property into the controls.
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnKillActive() override;

    virtual void AddPages(CPropertyEditSheet* pSheet);
    // Controls into the members (with validation), then the members into the property: FALSE
    // when a value did not parse (its message shown; the members exchanged before it are still
    // written). The base writes every listed control's field.
    virtual BOOL ApplyToProperty();

    // How a control shows its field.
    enum class Exchange : uint8_t
    {
        Number,   // float edit
        Integer,  // int edit
        Unsigned, // edit of a non-negative integer
        Text,     // text edit
        Check,    // check box: a flag, or with a component the bit of that number in an integer
        Choice,   // drop-down list of the declaration's choices; the index is the value
    };
    struct FieldControl
    {
        UINT nID;
        const char* pcField;
        int8_t iComponent; // x, y, z of a point, r, g, b, a of a colour, a bit; -1 for none
        Exchange eExchange;
    };

    // The members of the page's controls, by control id (0 for an id the page does not list).
    float GetNumber(UINT nID) const;
    int GetInteger(UINT nID) const;
    CString GetText(UINT nID) const;

protected:
    // The controls of the page and the fields (of the set) they show, in exchange order.
    void BindFields(const SKFieldSet& kSet, std::span<const FieldControl> kControls);
    // Members from the property, and back (but for the listed controls): changed members are
    // written, fields written before whose members are back to the loaded values are restored.
    void LoadFields();
    void WriteFields(std::initializer_list<UINT> kSkip = {});
    // For the fields a page writes itself: whether any listed member differs from what was
    // loaded; that they were written; and the loaded values again for those written before.
    bool AnyChanged(std::initializer_list<UINT> kIDs) const;
    void MarkWritten(std::initializer_list<UINT> kIDs);
    void RestoreFields(std::initializer_list<UINT> kIDs);
    // Exchanges out of the controls and writes every member: FALSE when a value did not parse
    // (the members exchanged before it are written all the same).
    BOOL ExchangeAndWrite();
    float& NumberOf(UINT nID);
    CString& TextOf(UINT nID);
    // Three number members as a point, and back.
    NiPoint3 GetPoint(UINT nX, UINT nY, UINT nZ) const;
    void SetPoint(UINT nX, UINT nY, UINT nZ, const NiPoint3& kPoint);

    CPropertyEditSheet* GetSheet() const;
    SKModelProperty* GetEditProperty() const;
    // Null without a document.
    CPropertyDoc* GetDocument() const;
    // Invalidates the document's 3D view, with erase; nothing without a document.
    void RedrawView() const;
    // For edits applied while the user types: TRUE when every control's text parses, checked
    // without a message (so that a half-typed number is not an error yet).
    BOOL ControlsParse();
    // An edit's change while the user types: when every text parses, apply and redraw.
    void ApplyWhileTyping();

    // "Get Position": the position members (and the slide button) take the document's pick point;
    // then the controls, the property and the view follow. Nothing without a document.
    void TakePickPoint(CSlideButton& kSlide, UINT nX, UINT nY, UINT nZ);
    // A slide step: the position members take the slide button's position, then as above.
    void TakeSlidePosition(const CSlideButton& kSlide, UINT nX, UINT nY, UINT nZ);

    // "Normal" on the direction, up and right edits: direction := the document's pick normal, up
    // and right turned by the rotation that carries the old direction onto it; the spin button
    // takes the new frame; then the controls, the property and the view follow. Nothing without
    // a document or a pick normal.
    void TurnToPickNormal(CSpinButton& kSpin);
    // A spin step: the direction, up and right members take the spin button's frame, then as above.
    void TakeSpinFrame(const CSpinButton& kSpin);

    // An axis normalised (length above 1e-6), or the zero vector.
    static NiPoint3 UnitAxis(const NiPoint3& kAxis);
    // An axis normalised, or the model axis in place of a zero one.
    static NiPoint3 AxisOr(const NiPoint3& kAxis, const NiPoint3& kModelAxis);
    // The rotation (applied as M v) that carries the forward direction onto the normal, both
    // taken as directions. Opposite directions turn half way round an axis across the forward
    // one (the side axis given, made perpendicular), so the frame stays right-handed. False, and
    // nothing to turn, for a zero forward or normal.
    static bool TurnOnto(const NiPoint3& kForward, const NiPoint3& kNormal, const NiPoint3& kSide,
                         NiRotationMatrix& kTurn);

    // The colour dialog on three 0..255 members, after the controls' texts went into the members
    // (so what was typed and not yet applied counts; a text that does not parse is reported and
    // nothing opens): shown with their colour (truncated, low 8 bits), which also becomes the
    // first saved custom colour; OK sets them to the chosen components and refreshes the controls.
    void PickColor(UINT nRed, UINT nGreen, UINT nBlue);

    // Adds the page of the parent level (made by the caller, then owned by the sheet) and lets it
    // add its own parent.
    static void AddParentPage(CPropertyEditSheet* pSheet, CZenaraPropertyPage* pkPage);

private:
    // A control's member, in the member type of its exchange.
    struct ControlValue
    {
        float fNumber = 0.0f;
        int iInteger = 0;
        UINT uiUnsigned = 0;
        CString kText;
    };
    struct Bound
    {
        FieldControl kControl;
        const SKPropertyField* pkField;
        ControlValue kValue;
        // As loaded from the property, with the field's stored value then.
        ControlValue kLoaded;
        std::optional<SKPropertyField::Value> kStored;
        // What the last exchange into the control showed (edits only), and the member then.
        std::optional<std::string> kShownText;
        ControlValue kShown;
        // The field holds this page's value rather than the loaded one.
        bool bWritten = false;
        std::unique_ptr<CComboBox> spList;
    };
    Bound* Find(UINT nID);
    const Bound* Find(UINT nID) const;
    bool IsEdit(const Bound& kBound) const;
    bool Changed(const Bound& kBound) const;
    void ExchangeOne(CDataExchange* pDX, Bound& kBound);
    void LoadOne(Bound& kBound, const SKModelProperty& kProperty);
    void WriteOne(const Bound& kBound, SKModelProperty& kProperty) const;
    void RestoreOne(const Bound& kBound, SKModelProperty& kProperty) const;

    std::vector<Bound> m_kBound;
};
