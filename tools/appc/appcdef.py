"""The vocabulary of the Appc tables.

Module Appc and the shadow module App.py are generated from declarative tables: the type
records (typetable.py), the module's method order, linked variables and constants
(moduletable.py), and the rows of the class groups (rows/*.py, a file per group of classes,
each defining GROUPS and, where its calls need headers beyond the classes' own, HEADERS). A
row is one function of Appc; the generator writes its C++ wrapper, its entry in the method
table and its method in App.py.

Rows of a group (the group's class is `self` of every method row):

    New(Float("r", 0), ...)          new_<Class>: a new object from the arguments
    Delete()                         delete_<Class>: destroys and frees a non-null object
    Method("Op", args..., result=R)  <Class>_Op(self, args...): self->Op(args...)
    Static("Op", args..., result=R)  <Class>_Op(args...): <Class>::Op(args...)
    Field("r", Float)                <Class>_r_set(self, value) and <Class>_r_get(self)
    Alias("r_set", "NiColorA_r_set") <Class>_r_set is the other row's function
    Native("Name", "CppFunction")    a hand-written wrapper (METH_FASTCALL signature)

and the rows every property class has: PropertyNew() (new_<Class>(id=0)), Cast()
(<Class>_Cast(property): None when the property is of another class) and Create()
(<Class>_Create(name)).

Arguments: Float, Double, Int, Long, Short, Bool, Char, Text, Index (an Int checked against
a count), Ref (an engine object passed by reference: never null), Ptr (an engine object
passed by pointer, null allowed unless nullable=False), OutPointer (where the engine would
write a result: only None, the row returns the value), Object (the script object itself).
Results: None (the default), FLOAT, DOUBLE, INT, BOOL, TEXT, OBJECT, Value("Class") (a copy
the script owns), Copy("Class") (a copy of the object a pointer names, None for null),
Counted("Class") (a new engine object with a reference the script holds), Pointer("Class")
(the engine's object).

`call` replaces the engine call: a C++ expression (or, without a result, a statement) in
which {self} is the object pointer and {name} each argument as the call takes it. `checks`
are Check(condition, error, message) tests made before the call, conditions over the same
names.
"""

import keyword

# Groups of plain functions rather than of a class: "module" (the module's own functions,
# named as they are) and "PyEmbed" (the script host's state save, named PyEmbed_<op>).
FUNCTION_GROUPS = ("module", "PyEmbed")

# ---------------------------------------------------------------------------------------
# Arguments


class Arg:
    """One script argument: how it is parsed, declared, and handed to the engine call."""

    ctype = ""
    initial = "{}"

    def __init__(self, name, default=None):
        if not name.isidentifier() or keyword.iskeyword(name):
            raise ValueError("argument name %r is no Python identifier" % name)
        self.name = name
        self.default = default

    @property
    def var(self):
        return "a_" + self.name

    @property
    def optional(self):
        return self.default is not None

    def declare(self):
        value = self.cpp_default() if self.optional else self.initial
        return "%s %s = %s;" % (self.ctype, self.var, value)

    def cpp_default(self):
        return str(self.default)

    def app_default(self):
        return repr(self.default)

    def parse(self, source, index):
        """A C++ condition that is true when the argument was converted."""
        raise NotImplementedError

    def expr(self):
        return self.var

    def classes(self):
        return []


class Float(Arg):
    ctype = "float"
    initial = "0.0f"

    def cpp_default(self):
        return "%sf" % float(self.default)

    def app_default(self):
        return repr(float(self.default))

    def parse(self, source, index):
        return "GetFloat(%s, &%s, ROW, %d)" % (source, self.var, index)


class Double(Arg):
    ctype = "double"
    initial = "0.0"

    def cpp_default(self):
        return repr(float(self.default))

    def app_default(self):
        return repr(float(self.default))

    def parse(self, source, index):
        return "GetDouble(%s, &%s, ROW, %d)" % (source, self.var, index)


class Int(Arg):
    ctype = "int32_t"
    initial = "0"

    def parse(self, source, index):
        return "GetInt(%s, &%s, ROW, %d)" % (source, self.var, index)


class Long(Int):
    """The interpreter's long of the engine's 32-bit platform: an Int."""


class Short(Arg):
    """16 bits; -32768 to 65535 are accepted and the low 16 bits kept."""

    ctype = "uint16_t"
    initial = "0"

    def parse(self, source, index):
        return "GetShort(%s, &%s, ROW, %d)" % (source, self.var, index)


class Bool(Arg):
    ctype = "bool"
    initial = "false"

    def cpp_default(self):
        return "true" if self.default else "false"

    def app_default(self):
        return "1" if self.default else "0"

    def parse(self, source, index):
        return "GetBool(%s, &%s, ROW, %d)" % (source, self.var, index)


class Char(Arg):
    ctype = "char"
    initial = "'\\0'"

    def app_default(self):
        # A default given as a character code is a one-character text for scripts.
        return repr(chr(self.default)) if isinstance(self.default, int) else repr(self.default)

    def parse(self, source, index):
        return "GetChar(%s, &%s, ROW, %d)" % (source, self.var, index)


class Text(Arg):
    """Engine text (Latin-1). nullable: None gives a null text."""

    ctype = "const char*"
    initial = "nullptr"

    def __init__(self, name, default=None, nullable=False):
        super().__init__(name, default)
        self.nullable = nullable

    def cpp_default(self):
        return '"%s"' % self.default.replace("\\", "\\\\").replace('"', '\\"')

    def parse(self, source, index):
        function = "GetTextOrNull" if self.nullable else "GetText"
        return "%s(%s, &%s, ROW, %d)" % (function, source, self.var, index)


class Index(Int):
    """An index into an array of the engine: 0 <= index < count, else IndexError."""

    def __init__(self, name, count, default=None):
        super().__init__(name, default)
        self.count = count

    def parse(self, source, index):
        return "GetIndex(%s, &%s, %s, ROW, %d)" % (source, self.var, self.count, index)


class Ref(Arg):
    """An engine object the operation takes by reference: a null pointer is refused."""

    ctype = None
    initial = "nullptr"

    def __init__(self, cls, name):
        super().__init__(name)
        self.cls = cls
        self.cpp = cls  # the C++ type, resolved by the generator for opaque types

    def declare(self):
        return "%s* %s = nullptr;" % (self.cpp, self.var)

    def parse(self, source, index):
        return "GetObject(%s, &%s, g_pkAppcType_%s, ROW, %d)" % (source, self.var, self.cls, index)

    def expr(self):
        return "(*%s)" % self.var

    def classes(self):
        return [self.cls]


class Ptr(Ref):
    """An engine object the operation takes by pointer; null (None, "NULL") is allowed
    unless nullable is False."""

    def __init__(self, cls, name, nullable=True):
        super().__init__(cls, name)
        self.nullable = nullable

    def parse(self, source, index):
        function = "GetObjectOrNull" if self.nullable else "GetObject"
        return "%s(%s, &%s, g_pkAppcType_%s, ROW, %d)" % (function, source, self.var, self.cls, index)

    def expr(self):
        return self.var


class OutPointer(Arg):
    """Where the engine operation writes a result: scripts hold no memory of the engine's to
    write into, so the row hands the values back instead and takes only None (or a null
    pointer) here, for the scripts that pass one. Optional."""

    @property
    def optional(self):
        return True

    def declare(self):
        return "// %s: None only; the value is returned." % self.name

    def app_default(self):
        return "None"

    def parse(self, source, index):
        return "GetNullPointer(%s, ROW, %d)" % (source, index)


class Object(Arg):
    """The script object itself, borrowed."""

    ctype = "PyObject*"
    initial = "nullptr"

    def parse(self, source, index):
        return "((%s = %s) != nullptr)" % (self.var, source)


# ---------------------------------------------------------------------------------------
# Results


class Result:
    def __init__(self, kind, cls=None):
        self.kind = kind
        self.cls = cls

    def classes(self):
        return [self.cls] if self.cls else []


FLOAT = Result("float")
DOUBLE = Result("double")
INT = Result("int")
BOOL = Result("bool")
TEXT = Result("text")
OBJECT = Result("object")


def Value(cls):
    """An object returned by value: copied into a new object that the script owns."""
    return Result("value", cls)


def Copy(cls):
    """An engine object the operation points to (null for none), copied into a new object that
    the script owns: for objects the engine may free or change while a script holds them."""
    return Result("copy", cls)


def Counted(cls):
    """A new engine object returned by pointer together with one reference of its count,
    which the script holds (and may give up, or hand over to a holder that takes one)."""
    return Result("counted", cls)


def Pointer(cls):
    """An engine object returned by pointer: it stays the engine's."""
    return Result("pointer", cls)


# ---------------------------------------------------------------------------------------
# Checks and rows


class Check:
    """A test made before the engine call; when the condition fails the row raises the error
    (a Python exception name such as "ValueError") with the message after the row's name."""

    def __init__(self, condition, error, message):
        self.condition = condition
        self.error = error
        self.message = message


class Row:
    kind = ""

    def __init__(self, op, *args, result=None, call=None, checks=()):
        self.op = op
        self.args = list(args)
        self.result = result
        self.call = call
        self.checks = list(checks)
        self.cls = None  # set by the group
        names = [arg.name for arg in self.args]
        if len(set(names)) != len(names) or "self" in names:
            raise ValueError("row %s: argument names must be distinct and not 'self'" % op)
        seen_optional = False
        for arg in self.args:
            if seen_optional and not arg.optional:
                raise ValueError("row %s: a required argument follows an optional one" % op)
            seen_optional = seen_optional or arg.optional

    @property
    def name(self):
        return "%s_%s" % (self.cls, self.op) if self.cls != "module" else self.op

    @property
    def function(self):
        return "AppcRow_" + self.name

    def has_self(self):
        return False

    def bind(self, cls):
        self.cls = cls

    def classes(self):
        found = [] if self.cls in FUNCTION_GROUPS else [self.cls]
        for arg in self.args:
            found += arg.classes()
        if self.result:
            found += self.result.classes()
        return found


class Method(Row):
    kind = "method"

    def has_self(self):
        return True


class Static(Row):
    kind = "static"


class New(Row):
    """new_<Class>. ctor: the constructor's arguments as C++ text when they are not simply
    the row's arguments in order (a point made with no arguments starts at zero)."""

    kind = "new"

    def __init__(self, *args, ctor=None, call=None):
        super().__init__("new", *args, call=call)
        self.ctor = ctor

    @property
    def name(self):
        return "new_" + self.cls


class Delete(Row):
    """delete_<Class>. call: how the object goes, when not by its (virtual) destructor."""

    kind = "delete"

    def __init__(self, call=None):
        super().__init__("delete", call=call)

    @property
    def name(self):
        return "delete_" + self.cls


class Cast(Static):
    """<Class>_Cast(property): the property when it is of the class, else None."""

    def __init__(self):
        super().__init__("Cast", Ptr("SKModelProperty", "property"))

    def bind(self, cls):
        super().bind(cls)
        self.result = Pointer(cls)


class Create(Static):
    """<Class>_Create(name): a new property of the class with that name, with the script's
    reference."""

    def __init__(self):
        super().__init__("Create", Text("name"))

    def bind(self, cls):
        super().bind(cls)
        self.result = Counted(cls)


def PropertyNew():
    """new_<Class>(id=0) of a property class: 0 takes the next object id."""
    return New(Long("id", 0))


class FieldSet(Method):
    kind = "field_set"

    def __init__(self, field, arg):
        super().__init__(field + "_set", arg)
        self.field = field


class FieldGet(Method):
    kind = "field_get"

    def __init__(self, field, result):
        super().__init__(field + "_get", result=result)
        self.field = field


_FIELD_RESULTS = {Float: FLOAT, Double: DOUBLE, Int: INT, Long: INT, Short: INT, Bool: BOOL}


def Field(field, argtype):
    """The set and get rows of a public field, in that order."""
    return [FieldSet(field, argtype("value")), FieldGet(field, _FIELD_RESULTS[argtype])]


class Alias(Row):
    """A row whose function is another row's: its messages name that row."""

    kind = "alias"

    def __init__(self, op, target):
        super().__init__(op)
        self.target = target


class Native(Row):
    """A hand-written wrapper: function has the METH_FASTCALL signature."""

    kind = "native"

    def __init__(self, op, function, app=None):
        super().__init__(op)
        self.native = function
        self.app = app

    @property
    def function(self):
        return self.native


class Group:
    """The rows of one class (or "module" for the module's own functions), in table order."""

    def __init__(self, cls, rows):
        self.cls = cls
        self.rows = []
        for row in rows:
            for one in row if isinstance(row, list) else [row]:
                one.bind(cls)
                self.rows.append(one)


# ---------------------------------------------------------------------------------------
# Types, linked variables, constants


class Type:
    """A wrapped class: its type record "_p_<Class>", the class it derives from in the cast
    tree, and its header once the class is built (until then its casts pass the pointer
    through unchanged and no row may use it). script_owned: objects made by the new_ row or
    returned by value belong to the script, which frees them with delete_<Class> (or, for
    a class without a delete_ row, with DeleteBuffer: pooled then says they come from the
    engine's pools)."""

    def __init__(self, cls, base=None, header=None, script_owned=False, pooled=False):
        self.cls = cls
        self.base = base
        self.header = header
        self.script_owned = script_owned
        self.pooled = pooled
        self.record = "_p_" + cls
        self.pretty = cls + " *"
        self.ident = cls
        self.opaque = False
        self.cpp = cls


class Opaque(Type):
    """A type record for pointers that scripts only pass on (no shadow class). cpp: the C++
    type the pointer points to, where rows use it."""

    def __init__(self, record, pretty, ident, cpp=None, header=None):
        super().__init__(ident, header=header)
        self.record = record
        self.pretty = pretty
        self.ident = ident
        self.opaque = True
        self.cpp = cpp


class Variable:
    """A linked variable under Appc.globals. value: the C++ object it names (its address is
    the pointer). readonly variables refuse assignment; the others take another object of
    their class (by the class's assignment, the global keeping its identity)."""

    def __init__(self, name, cls, value, readonly=False, header=None):
        self.name = name
        self.cls = cls
        self.value = value
        self.readonly = readonly
        self.header = header


class Constant:
    """An integer or float constant of Appc. scope: the shadow class that also carries it
    under its short name (ShieldProperty_FRONT_SHIELDS is ShieldProperty.FRONT_SHIELDS)."""

    def __init__(self, name, value, scope=None):
        self.name = name
        self.value = value
        self.scope = scope

    @property
    def short(self):
        return self.name[len(self.scope) + 1 :]
