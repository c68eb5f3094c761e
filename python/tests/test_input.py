"""The input: reading and writing every example and reference input, the fields by
symbol, the editor's tests of single values, the check, copies and pickling."""
import pickle

import pytest

import veltra
from conftest import EXAMPLES, reference_cases, run_veltra

ALL_INPUTS = sorted(EXAMPLES.glob("*.inp")) + sorted(p for _, folder in reference_cases() for p in folder.glob("*.inp"))


@pytest.mark.parametrize("path", ALL_INPUTS, ids=lambda p: p.name)
def test_write_gives_the_file_veltra_convert_writes(path, tmp_path, veltra_binary):
    inp = veltra.read_input(path)
    inp.write(tmp_path / "py.inp")
    status, _, err = run_veltra("convert", path, tmp_path / "cli.inp", cwd=tmp_path)
    assert status == 0, err
    assert (tmp_path / "py.inp").read_bytes() == (tmp_path / "cli.inp").read_bytes()
    # Read back: the same record, and a file written as it was read is written alike.
    again = veltra.read_input(tmp_path / "py.inp")
    assert again.text() == inp.text()
    assert [getattr(again, f) == getattr(inp, f) for f in ("Ns", "Ny", "Kd", "Kr")] == [True] * 4


@pytest.mark.parametrize("name", ["field", "wells"])
def test_examples_without_files_are_the_bundled_files(name):
    assert veltra.example(name).text() == (EXAMPLES / f"{name}.inp").read_bytes()
    assert veltra.example(name).name == f"{name}.inp"
    with pytest.raises(ValueError, match="field"):
        veltra.example("nothing")


def test_fields_by_symbol():
    inp = veltra.example("field")
    assert (inp.Dd, inp.QH1, inp.Ny, inp.Kr, inp.Ns) == (1.5, pytest.approx(inp.QH1), 10, 4, 2)
    assert isinstance(inp.Ny, int) and isinstance(inp.Dd, float)
    assert list(inp.Ts) == [7.0, 5.0] and len(inp.IaA) == 2
    inp.IaA[1] = 0.8  # season 2
    assert inp.IaA[1] == 0.8 and inp.IaA[-1] == 0.8 and inp.IaA[0] == 0.5
    inp.Ts = [6.0, 6.0]
    assert inp.Ts == [6.0, 6.0]
    inp.Ns = 3  # a third season appears, with what the record holds for it
    assert len(inp.Ts) == 3
    inp.Title1 = "changed"
    assert inp.Title1 == "changed" and inp.text().startswith(b"changed\r\n")
    assert "Dd" in dir(inp) and inp.fields()[:3] == ["Kd", "Ns", "Ky"]
    with pytest.raises(AttributeError, match="no field 'Xyz'"):
        inp.Xyz
    with pytest.raises(AttributeError):
        inp.Xyz = 1
    with pytest.raises(IndexError, match="Ns = 3"):
        inp.IaA[3] = 0.1
    with pytest.raises(TypeError):
        inp.IaA["1"]
    with pytest.raises(ValueError, match="2 values for 3 seasons"):
        inp.Ts = [6.0, 6.0]


# (field, season index or None, value, words of the editor's message, rule)
REFUSED = [
    ("IaA", 1, -0.1, "Irrigation of area A must be zero or more.", "IaA >= 0"),
    ("Ts", 0, 0.5, "Season durations must be > 0.5 month.", "Ts > 0.5"),
    ("A", 1, 1.2, "Irrigated area fractions A must be between 0 and 1.", "A between 0 and 1"),
    ("FsA", 0, 1.0, "The storage efficiency in area A must be between zero and one.", "FsA < 1"),
    ("FsU", 0, 0.0, "The storage efficiency must be > 0", "FsU > 0"),
    ("Ptr", None, 0.95, "The porosity must be > 0 and less than 0.9", "Ptr > 0 and < 0.9"),
    ("Dr", None, 0.0, "The root zone depth must be > 0", "Dr > 0"),
    ("Frd", 0, 1.5, "The the drainage control factor must be between 0 and 1", "Frd between 0 and 1"),
    ("CA0", None, 0.0, "The intial soil salinity must be > 0", "CA0 > 0"),
    ("Cic", None, -2.0, "The water salinity values cannot be negative.", "Cic >= 0"),
    ("Ny", None, 100, "The number of years (Ny) for calculations must be less than 100", "Ny <= 99"),
    ("CAmax", None, -1, "The maximum salinity cannot be negative", "CAmax >= 0"),
    ("Kr", None, 8, "the editor offers", "one of 0, 1, 2, 3, 4, 5, 6, 7, 10"),
    ("Kd", None, 2, "the editor offers", "one of 0, 1"),
    ("Ns", None, 5, "the editor offers", "one of 1, 2, 3, 4"),
    ("Ny", None, 2.5, "takes whole numbers", None),
    ("Dd", None, float("nan"), "finite number", None),
]


@pytest.mark.parametrize("field,season,value,words,rule", REFUSED, ids=lambda x: str(x))
def test_the_editors_single_value_tests_refuse(field, season, value, words, rule):
    inp = veltra.example("field")
    before = inp.text()
    with pytest.raises(ValueError) as refused:
        if season is None:
            setattr(inp, field, value)
        else:
            getattr(inp, field)[season] = value
    message = str(refused.value)
    assert isinstance(refused.value, veltra.InputError)
    assert message.startswith(field if season is None else f"{field}[{season}]")
    assert words in message
    if rule:
        assert f"(rule: {rule})" in message
    assert inp.text() == before  # nothing stored


# The bounds the rules accept, and values only a rule over several values refuses.
ACCEPTED = [("IaA", 0, 0.0), ("Ts", 0, 0.51), ("A", 0, 1.0), ("Frd", 0, 1.0), ("Ptr", None, 0.89),
            ("Ny", None, 99), ("Ny", None, 0), ("Kr", None, 10), ("CAmax", None, 0.0), ("Dd", None, 99.0),
            ("Per", None, 0.3)]


@pytest.mark.parametrize("field,season,value", ACCEPTED, ids=lambda x: str(x))
def test_values_the_editor_accepts_are_stored(field, season, value):
    inp = veltra.example("field")
    if season is None:
        setattr(inp, field, value)
        assert getattr(inp, field) == value
    else:
        getattr(inp, field)[season] = value
        assert getattr(inp, field)[season] == value


def test_a_field_the_keys_leave_out_is_refused():
    inp = veltra.example("wells")  # no drains
    assert inp.Kd == 0
    for field, set_it in [("Dd", lambda: setattr(inp, "Dd", 2.0)), ("QH1", lambda: setattr(inp, "QH1", 0.1)),
                          ("Frd", lambda: inp.Frd.__setitem__(0, 0.5)), ("CxA0", lambda: setattr(inp, "CxA0", 3))]:
        with pytest.raises(veltra.InputError, match=f"{field}: the input has no drains \\(Kd = 0\\)"):
            set_it()
    inp.Kd = 1
    inp.Dd = 2.0
    assert inp.Dd == 2.0


def test_check_reports_the_rules_over_several_values():
    inp = veltra.example("field")
    assert veltra.check(inp) == []
    inp.Ts = [7.0, 6.0]  # each accepted, together 13 months
    inp.A[0] = 0.8  # with B = 0.3: A + B > 1
    inp.Dd = 9.0  # below the transition zone
    assert veltra.check(inp) == [
        "Total number of months must be 12.",
        "Sum of area fractions A+B in season 1 must not be greater than 1.",
        "Drains must be in the transition zone: Dr < Dd < Dr+Dx",
    ]


@pytest.mark.parametrize("case", ["bad_case_0001", "bad_case_0002"])
def test_check_gives_the_lines_of_error_lst(case):
    folder = dict(reference_cases())[case]
    expected = (folder / "Error.lst").read_bytes().decode("latin-1").split("\r\n")[2:-1]
    assert veltra.check(veltra.read_input(folder / f"{case}.inp")) == [l.lstrip(" ") for l in expected]


def test_copies_and_pickles_are_independent_and_exact():
    inp = veltra.example("field")
    inp.IaA[0] = 0.123456789  # more decimals than a file keeps
    for other in (inp.copy(), pickle.loads(pickle.dumps(inp))):
        assert other == inp and other.IaA[0] == 0.123456789 and other.name == inp.name
        other.IaA[0] = 0.5
        assert inp.IaA[0] == 0.123456789 and other != inp


def test_files_that_cannot_be_read(tmp_path):
    with pytest.raises(veltra.FileError):
        veltra.read_input(tmp_path / "none.inp")
    (tmp_path / "bad.inp").write_bytes(b"t\r\nt\r\n1. Area\r\nnot a number\r\n")
    with pytest.raises(veltra.FileError, match="bad.inp"):
        veltra.read_input(tmp_path / "bad.inp")
    with pytest.raises(veltra.FileError):
        veltra.example("field").write(tmp_path / "no" / "folder" / "x.inp")
    assert issubclass(veltra.FileError, veltra.Error) and issubclass(veltra.FileError, OSError)
