"""Rows of the small value types: the colours NiColor, NiColorA and SKColorA and the vector
SKPoint3. Every point or colour these rows return is a new object the script owns."""

from appcdef import (FLOAT, Alias, Check, Delete, Field, Float, Group, Int, Method, New, Ref, Static,
                     Value)

_COLOR_CHANNELS = ["r", "g", "b"]
_ALPHA_CHANNELS = _COLOR_CHANNELS + ["a"]


def _model_direction(op):
    return Static(op, result=Value("SKPoint3"))


GROUPS = [
    Group("NiColor", [Field(channel, Float) for channel in _COLOR_CHANNELS]
          + [New(*[Float(channel, 0) for channel in _COLOR_CHANNELS])]),
    Group("NiColorA", [Field(channel, Float) for channel in _ALPHA_CHANNELS]
          + [New(*[Float(channel, 0) for channel in _ALPHA_CHANNELS])]),
    Group("SKPoint3", [
        # The coordinates of a new point are not set by the engine; here they start at zero.
        New(ctor="0.0f, 0.0f, 0.0f"),
        Delete(),
        Static("GetRandomUnitVector", result=Value("SKPoint3")),
        _model_direction("GetModelForward"),
        _model_direction("GetModelBackward"),
        _model_direction("GetModelUp"),
        _model_direction("GetModelDown"),
        _model_direction("GetModelRight"),
        _model_direction("GetModelLeft"),
        Method("Cross", Ref("SKPoint3", "other"), result=Value("SKPoint3")),
        Method("UnitCross", Ref("SKPoint3", "other"), result=Value("SKPoint3")),
        Method("GetX", result=FLOAT),
        Method("GetY", result=FLOAT),
        Method("GetZ", result=FLOAT),
        Method("SetX", Float("x")),
        Method("SetY", Float("y")),
        Method("SetZ", Float("z")),
        Method("SetXYZ", Float("x"), Float("y"), Float("z")),
        Method("GetAlignedComponent", Ref("SKPoint3", "direction"), result=Value("SKPoint3")),
        Method("GetPerpendicularComponent", Ref("SKPoint3", "direction"), result=Value("SKPoint3")),
        Method("MultMatrix", Ref("SKMatrix3", "matrix")),
        Method("MultMatrixLeft", Ref("SKMatrix3", "matrix")),
        Method("Add", Ref("SKPoint3", "other")),
        Method("Subtract", Ref("SKPoint3", "other")),
        Method("Scale", Float("scale")),
        Method("Set", Ref("SKPoint3", "other")),
        Method("LoadBinary", Ref("NiStream", "stream")),
        Method("SaveBinary", Ref("NiStream", "stream")),
        # A script's point is one vector, never an array: a count beyond 1 would walk past it.
        Method("UnitizeVectors", Int("count"),
               checks=[Check("{count} <= 1", "ValueError",
                             "count is beyond the one point the argument holds")],
               call="if ({count} > 0) SKPoint3::UnitizeVectors({self}, 1)"),
        Method("UnitizeVector"),
        Method("VectorLength", result=FLOAT),
    ]),
    Group("SKColorA", [
        New(),
        Delete(),
        Method("GetR", result=FLOAT),
        Method("GetG", result=FLOAT),
        Method("GetB", result=FLOAT),
        Method("GetA", result=FLOAT),
        Method("SetR", Float("r")),
        Method("SetG", Float("g")),
        Method("SetB", Float("b")),
        Method("SetA", Float("a")),
        Method("SetRGBA", Float("r"), Float("g"), Float("b"), Float("a")),
        Method("Copy", Ref("NiColorA", "source")),
        Method("ScaleRGB", Float("scale")),
    ] + [Alias("%s_%s" % (channel, access), "NiColorA_%s_%s" % (channel, access))
         for channel in _ALPHA_CHANNELS for access in ("set", "get")]),
]
