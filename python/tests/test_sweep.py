"""Sweeps: the table of `veltra sweep`'s summary.csv, on threads and on a Dask cluster."""
import pandas as pd
import pandas.testing
import pytest

import veltra
from conftest import EXAMPLES, REFERENCE_DIR, run_veltra

# (id, input file, the grid as a dict; `veltra sweep` gets the same as --set NAME=V1,V2,...)
GRIDS = [
    ("field", EXAMPLES / "field.inp", {"Ny": [3], "Dd": [1.5, 2.0, 2.5], "IaA[2]": [0.3, 0.4]}),
    # Drains below the transition zone and 13 months: rows with "input errors".
    ("input-errors", EXAMPLES / "field.inp", {"Dd": [1.5, 9.0], "Ts[1]": [7.0, 8.0], "Ny": [2]}),
    ("wells", EXAMPLES / "wells.inp", {"Gw": [0.0, 0.2], "Kr": [0, 4], "Ny": [4]}),
    # Cases the model stops.
    ("stopped", REFERENCE_DIR / "hm_aquifer_stop" / "hm_aquifer_stop.inp", {"Ny": [1, 2], "Dw0": [0.5, 1.5]}),
]


@pytest.mark.parametrize("name,path,grid", GRIDS, ids=[g[0] for g in GRIDS])
def test_sweep_gives_the_summary_csv_of_veltra_sweep(name, path, grid, tmp_path, veltra_binary):
    args = ["sweep", path, "--out", tmp_path / "out", "-j", "2"]
    for field, values in grid.items():
        args += ["--set", f"{field}=" + ",".join(repr(float(v)) for v in values)]
    status, out, err = run_veltra(*args, cwd=tmp_path)
    assert status in (0, 1, 3), err
    expected = pd.read_csv(tmp_path / "out" / "summary.csv")
    got = veltra.sweep(veltra.read_input(path), grid, jobs=2)
    pandas.testing.assert_frame_equal(got, expected, check_exact=True)
    if name in ("input-errors", "stopped"):  # the grid reaches what it is meant to
        assert name.replace("-", " ") in set(got.status)


def test_jobs_and_an_exact_copy_give_the_same_table():
    inp = veltra.example("field")
    grid = {"Dd": [1.5, 2.0, 2.5, 3.0], "IaA": [1.0, 1.5, 2.0]}
    one = veltra.sweep(inp, grid, jobs=1)
    assert len(one) == 12 and list(one["index"]) == list(range(1, 13))
    assert list(one.name[:2]) == ["field_01", "field_02"] and list(one.Dd[:4]) == [1.5, 1.5, 1.5, 2.0]
    pandas.testing.assert_frame_equal(veltra.sweep(inp.copy(), grid, jobs=3), one, check_exact=True)


def test_a_dask_cluster_gives_the_local_table():
    distributed = pytest.importorskip("distributed")
    inp = veltra.example("field")
    inp.Ny = 5
    grid = {"Dd": [1.5, 2.0, 2.5, 9.0], "IaA[1]": [0.2, 0.4, 0.6]}
    local = veltra.sweep(inp, grid, jobs=1)
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster, distributed.Client(cluster) as client:
        remote = veltra.sweep(inp, grid, client=client, chunk=5)
        workers = client.run(lambda: __import__("os").getpid())
    assert len(set(workers.values())) == 2
    pandas.testing.assert_frame_equal(remote, local, check_exact=True)


@pytest.mark.parametrize("inp,grid,words", [
    ("field", {"Xx": [1]}, "unknown field \"Xx\""),
    ("field", {"dd": [1]}, "did you mean Dd?"),
    ("wells", {"Dd": [1.5]}, "has no drains"),
    ("field", {"Dd": [1.555]}, "more decimals than the input file keeps"),
    ("field", {"IaA[3]": [1.0]}, "has 2 season(s)"),
    ("field", {"Ns": [1]}, "unknown field \"Ns\""),
    ("field", {"Dd": []}, "is not a number"),
])
def test_sweeps_refused_before_anything_runs(inp, grid, words):
    with pytest.raises(veltra.UsageError) as refused:
        veltra.sweep(veltra.example(inp), grid)
    assert words in str(refused.value)
    assert isinstance(refused.value, ValueError)


def test_a_value_with_more_decimals_than_the_file_keeps_is_noted():
    inp = veltra.example("field")
    inp.Cic = 2.123
    with pytest.warns(UserWarning, match="Cic = 2.123 is kept as 2.1"):
        table = veltra.sweep(inp, {"Ny": [1, 2]})
    assert list(table.status) == ["ok", "ok"]
    # The cases ran with what their input files hold.
    kept = inp.copy()
    kept.Cic = 2.1
    pandas.testing.assert_frame_equal(table, veltra.sweep(kept, {"Ny": [1, 2]}), check_exact=True)
