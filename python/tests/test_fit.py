"""veltra.fit: the search of `veltra fit`, in process, with the same runs and the same
best input; a synthetic truth comes back; faulty observations and bounds are refused."""
import pandas as pd
import pytest

import veltra
from conftest import run_veltra


@pytest.fixture(scope="module")
def truth():
    """The field example over 6 years with Flr = 0.7, and its Cr4 and Dw as observations."""
    inp = veltra.example("field")
    inp.Ny = 6
    inp.Flr = 0.7
    s = veltra.run(inp).seasons
    observed = s[s.year >= 1][["year", "season", "Cr4", "Dw"]].melt(
        id_vars=["year", "season"], var_name="symbol", value_name="value")
    return inp, observed


def test_the_truth_comes_back_as_the_command_finds_it(truth, tmp_path):
    inp, observed = truth
    start = inp.copy()
    start.Flr = 0.95
    found = veltra.fit(start, observed, {"Flr": (0.5, 1.0)}, max_runs=200, seed=3, jobs=2)
    assert found.best.Flr == pytest.approx(0.7)
    assert found.objective == 0
    assert list(found.parameters.name) == ["Flr"] and found.parameters.best[0] == pytest.approx(0.7)
    assert list(found.symbols.symbol) == ["Cr4", "Dw"] and list(found.symbols.n) == [12, 12]
    assert (found.symbols.rmse == 0).all()
    assert found.runs.stage[0] == "input" and len(found.runs) <= 200

    # The command on the same input and observations: the same runs, the same fitted.inp.
    start.write(tmp_path / "start.inp")
    observed.to_csv(tmp_path / "obs.csv", index=False)
    status, _, err = run_veltra("fit", "start.inp", "--observed", "obs.csv", "--fit", "Flr=0.5:1.0",
                                "--max-runs", "200", "--seed", "3", "-j", "1", "--out", "out", cwd=tmp_path)
    assert status == 0, err
    pd.testing.assert_frame_equal(found.runs, pd.read_csv(tmp_path / "out" / "runs.csv"), check_exact=True)
    assert (tmp_path / "out" / "fitted.inp").read_bytes() == found.best.text()
    # A path to the observations gives the same.
    again = veltra.fit(start, tmp_path / "obs.csv", {"Flr": (0.5, 1.0)}, max_runs=200, seed=3, jobs=1)
    pd.testing.assert_frame_equal(again.runs, found.runs, check_exact=True)


@pytest.mark.parametrize("change, bounds, error, text", [
    (None, {"Flr": (1.0, 0.5)}, veltra.UsageError, "Flr"),
    (None, {"Nonsense": (0.0, 1.0)}, veltra.UsageError, "Nonsense"),
    (lambda o: o.assign(symbol="Xyz"), {"Flr": (0.5, 1.0)}, veltra.FileError, "Xyz"),
    (lambda o: o.assign(year=99), {"Flr": (0.5, 1.0)}, veltra.FileError, "99"),
    (lambda o: o.iloc[0:0], {"Flr": (0.5, 1.0)}, veltra.FileError, "observed"),
])
def test_faulty_observations_and_bounds_are_refused(truth, change, bounds, error, text):
    inp, observed = truth
    with pytest.raises(error, match=text):
        veltra.fit(inp, change(observed) if change else observed, bounds, max_runs=100, jobs=1)
