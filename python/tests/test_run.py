"""Runs: in memory against the reviewed result files cell by cell, result files read
back, runs from files, series, stopped runs, input errors and runs in threads."""
import concurrent.futures
import math
import pathlib
import re

import pytest

import veltra
from conftest import EXAMPLE_RESULTS, case_inputs, crlf_lines, reference_cases, run_veltra

RUN_CASES = [(name, folder) for name, folder in reference_cases() if (folder / f"{name}.res").exists()]
BAD_CASES = [(name, folder) for name, folder in reference_cases() if (folder / "Error.lst").exists()]
LINE_CELLS = [4, 4, 3, 4, 4, 3, 3, 3, 2, 4, 4, 4, 3]


def file_records(path):
    """The season records of a result file as its text shows them: (year, season), the
    45 cell texts of the value lines (blanks removed) and the frequency lines' slots."""
    lines = crlf_lines(path)
    records = []
    for i, line in enumerate(lines):
        if not line.startswith("  YEAR: "):
            continue
        year = int(line[8:12])
        season = int(lines[i + 2][9:12])
        cells = []
        for k, count in enumerate(LINE_CELLS):
            text = lines[i + 4 + k]
            cells += [text[8 + 20 * n:20 + 20 * n].replace(" ", "") for n in range(count)]
        frequency = []
        for slot in range(4):
            title, points = lines[i + 18 + 2 * slot], lines[i + 19 + 2 * slot]
            if title:
                frequency.append((title.rsplit(" ", 1)[1], [points[8 + 18 * p:18 + 18 * p] for p in range(4)]))
        records.append(((year, season), cells, frequency))
    return records


def frame_records(result):
    """The same from a Result: each value formatted as the result file formats it."""
    symbols = list(result.seasons.columns[2:])
    records = []
    for row in result.seasons.itertuples(index=False):
        cells = []
        for symbol, v in zip(symbols, row[2:]):
            cells.append(str(int(v)) if symbol == "Kr" else veltra.result_cell(v).replace(" ", ""))
        frequency = [(f.symbol, [veltra.result_cell(p) for p in (f.p20, f.p40, f.p60, f.p80)])
                     for f in result.frequency.itertuples() if (f.year, f.season) == (row[0], row[1])]
        records.append(((row[0], row[1]), cells, frequency))
    return records


def warning_blocks(path):
    """The warnings of a warning.lst, one text per message block."""
    text = pathlib.Path(path).read_bytes().decode("latin-1").replace("\r\n", "\n")
    blocks = text.split("\n", 1)[1].split("\n\n")
    return ["\n".join(l.lstrip(" ") for l in b.split("\n") if l.strip()) for b in blocks if b.strip()]


def run_case(folder):
    files = case_inputs(folder)
    inputs = [veltra.read_input(f) for f in files]
    return veltra.run(inputs[0]) if len(inputs) == 1 else veltra.series(inputs)


@pytest.mark.parametrize("name,folder", RUN_CASES, ids=[n for n, _ in RUN_CASES])
def test_run_gives_the_reference_result_file_cell_by_cell(name, folder):
    result = run_case(folder)
    expected = file_records(folder / f"{name}.res")
    got = frame_records(result)
    assert len(got) == len(expected)
    for g, e in zip(got, expected):
        assert g == e, f"year {e[0][0]} season {e[0][1]}"
    blocks = warning_blocks(folder / "warning.lst")
    if veltra.read_input(case_inputs(folder)[0]).Ky == 0:
        assert result.warnings == blocks
        assert (result.stopped is None) == (folder / f"{name}.trf").exists()
    else:
        # Year by year, warning.lst holds the last year's warnings; the result every year's.
        assert result.warnings[len(result.warnings) - len(blocks):] == blocks
        assert len(result.warnings) >= len(blocks)


@pytest.mark.parametrize("name,folder", RUN_CASES, ids=[n for n, _ in RUN_CASES])
def test_read_result_gives_the_files_cells(name, folder):
    result = veltra.read_result(folder / f"{name}.res")
    assert frame_records(result) == file_records(folder / f"{name}.res")
    assert result.warnings == [] and result.stopped is None


def test_the_frame_columns_and_full_precision():
    result = veltra.run(veltra.example("field"))
    s = result.seasons
    assert list(s.columns[:4]) == ["year", "season", "It", "Is"] and list(s.columns[-3:]) == ["Ci", "Cd", "Cw"]
    assert len(s.columns) == 47 and s.dtypes.iloc[2:].eq("float64").all()
    assert list(s.year[:3]) == [0, 0, 1] and list(s.season[:3]) == [1, 2, 1]
    assert s.Cr4.notna().all() and s.CrA.isna().all() and s.Cw.isna().all()  # Kr = 4, no wells
    # The run's numbers in full; the file keeps three digits of them.
    read = veltra.read_result(EXAMPLE_RESULTS / "field" / "field.res")
    assert (s.Dw != read.seasons.Dw).sum() > 10
    assert (s.Dw - read.seasons.Dw).abs().max() < 0.005 * s.Dw.abs().max()
    assert list(result.frequency.columns) == ["year", "season", "symbol", "p20", "p40", "p60", "p80"]
    assert set(result.frequency.symbol) == {"Cr4"} and len(result.frequency) == len(s)


def test_the_record_runs_as_it_stands_and_a_file_holds_it_rounded(tmp_path):
    inp = veltra.example("field")
    inp.IaA[0] = 1.23456
    memory = veltra.run(inp).seasons
    inp.write(tmp_path / "f.inp")
    read = veltra.read_input(tmp_path / "f.inp")
    assert read.IaA[0] == 1.235  # the file keeps three decimals
    from_file = veltra.run(read).seasons
    # The record shows IaA with the re-used drainage water added.
    assert memory.IaA[2] - from_file.IaA[2] == pytest.approx(1.23456 - 1.235, abs=1e-12)
    assert not memory.Dw.equals(from_file.Dw)


def test_write_to_leaves_the_files_of_veltra_run(tmp_path, veltra_binary):
    inp = veltra.example("field")
    inp.IaA[0] = 1.23456
    result = veltra.run(inp, write_to=tmp_path / "py")
    assert result.files == str(tmp_path / "py" / "field.inp")
    (tmp_path / "cli").mkdir()
    (tmp_path / "cli" / "field.inp").write_bytes((tmp_path / "py" / "field.inp").read_bytes())
    assert run_veltra("run", "field.inp", cwd=tmp_path / "cli")[0] == 0
    names = sorted(p.name for p in (tmp_path / "py").iterdir())
    assert names == sorted(p.name for p in (tmp_path / "cli").iterdir())
    assert names == ["field.frq", "field.inp", "field.res", "field.trf", "warning.lst"]
    for n in names:
        py = (tmp_path / "py" / n).read_bytes().replace(str(tmp_path / "py").encode(), b"DIR")
        assert py == (tmp_path / "cli" / n).read_bytes().replace(str(tmp_path / "cli").encode(), b"DIR"), n
    # The numbers are the file's, which holds 1.235.
    assert frame_records(result) == file_records(tmp_path / "py" / "field.res")
    assert result.seasons.IaA[2] == veltra.run(veltra.read_input(tmp_path / "py" / "field.inp")).seasons.IaA[2]


def test_year_by_year_input_runs_its_years_at_once_as_veltra_run(tmp_path, veltra_binary):
    inp = veltra.example("field")
    inp.Ky = 1
    inp.Ny = 3
    memory = veltra.run(inp)
    from_file = veltra.run(inp, write_to=tmp_path)
    assert memory.seasons.equals(from_file.seasons) and memory.seasons.year.max() == 3
    assert "Calculations were done year by year." in crlf_lines(tmp_path / "field.res")[13]


def test_series_changes_the_input_between_years():
    first = veltra.example("field")
    first.Ky, first.Ny = 1, 3
    later = first.copy()
    later.IaA[0] = 2.0
    s = veltra.series([first, later]).seasons
    ia = list(s.IaA[s.season == 1])  # years 0 and 1 take `first`, years 2 and 3 `later`
    assert ia[2] - ia[1] == pytest.approx(1.5) and ia[3] == ia[2]
    with pytest.raises(veltra.UsageError, match="Ky = 1"):
        veltra.series([veltra.example("field")])
    other = later.copy()
    other.Ny = 4
    with pytest.raises(veltra.UsageError, match="Ns and Ny"):
        veltra.series([first, other])


def test_a_stopped_run_keeps_its_seasons_or_raises_when_asked():
    folder = dict(reference_cases())["hm_aquifer_stop"]
    inp = veltra.read_input(folder / "hm_aquifer_stop.inp")
    result = veltra.run(inp)
    assert result.stopped == "The water table fell below the bottom of the aquifer (warning.lst)."
    assert frame_records(result) == file_records(folder / "hm_aquifer_stop.res")
    with pytest.raises(veltra.StoppedRun, match="bottom of the aquifer") as stopped:
        veltra.run(inp, raise_on_stop=True)
    assert stopped.value.result.seasons.equals(result.seasons)
    assert isinstance(stopped.value, veltra.Error)


@pytest.mark.parametrize("name,folder", BAD_CASES, ids=[n for n, _ in BAD_CASES])
def test_input_errors_raise_with_the_lines_of_error_lst(name, folder, tmp_path):
    inp = veltra.read_input(folder / f"{name}.inp")
    expected = [l.lstrip(" ") for l in crlf_lines(folder / "Error.lst")[2:-1]]
    with pytest.raises(veltra.InputError) as refused:
        veltra.run(inp)
    assert refused.value.lines == expected
    with pytest.raises(veltra.InputError) as refused:
        veltra.run(inp, write_to=tmp_path)
    assert refused.value.lines == expected
    assert sorted(p.name for p in tmp_path.iterdir()) == ["Error.lst", f"{name}.inp"]


def test_the_save_time_validation_refuses_first():
    inp = veltra.example("field")
    inp.Ts = [7.0, 6.0]
    with pytest.raises(veltra.InputError) as refused:
        veltra.run(inp)
    assert refused.value.lines == ["The sum of season durations must be 12"]


def test_runs_in_threads_give_the_results_of_runs_one_after_another():
    inputs = []
    for k in range(8):
        inp = veltra.example("field" if k % 2 else "wells")
        inp.Ny = 20 + k
        inputs.append(inp)
    alone = [veltra.run(i).seasons for i in inputs]
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        together = list(pool.map(lambda i: veltra.run(i).seasons, inputs * 2))
    for k, frame in enumerate(together):
        assert frame.equals(alone[k % len(inputs)])


def test_result_files_that_cannot_be_read(tmp_path):
    with pytest.raises(veltra.FileError):
        veltra.read_result(tmp_path / "none.res")
    lines = crlf_lines(EXAMPLE_RESULTS / "field" / "field.res")
    cut = "\r\n".join(lines[:40]) + "\r\n"
    (tmp_path / "cut.res").write_bytes(cut.encode("latin-1"))
    with pytest.raises(veltra.FileError, match="cut.res.*line"):
        veltra.read_result(tmp_path / "cut.res")


def test_result_cell_is_the_files_number_cell():
    assert [veltra.result_cell(v) for v in (0.0123, -0.5, 0.0, -0.0, 12345.0, math.nan)] == [
        " 1.23E-002", "-5.00E-001", " 0.00E+000", " 0.00E+000", " 1.23E+004", "     -    "]
    assert re.fullmatch(r" \d\.\d\dE[+-]\d{3}", veltra.result_cell(math.pi))
