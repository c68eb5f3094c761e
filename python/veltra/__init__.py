"""Veltra, the agro-hydro-soil-salinity model, from Python.

The model runs in this process, at full precision, and its results come back as
pandas tables::

    import veltra
    inp = veltra.example("field")          # or veltra.read_input("field.inp")
    inp.Ny = 20
    inp.IaA[0] = 1.6                       # season 1 (seasons are indexed from 0)
    res = veltra.run(inp)
    res.seasons[["year", "season", "Dw", "Cr4"]].tail()

    table = veltra.sweep(inp, {"Dd": [1.5, 2.0, 2.5], "IaA": [1.0, 1.5]}, jobs=2)

Errors share one base, :class:`veltra.Error`: :class:`InputError` (the input is wrong;
its ``lines`` say how), :class:`FileError`, :class:`UsageError` and, where a caller
asks for it, :class:`StoppedRun`.
"""
import io
import os
import warnings as _warnings

from . import _veltra

__all__ = [
    "Error", "InputError", "FileError", "UsageError", "StoppedRun",
    "Input", "Seasonal", "Result",
    "read_input", "example", "check", "run", "series", "read_result", "sweep", "result_cell",
    "FitResult", "fit",
]


# ---------------------------------------------------------------------- errors

class Error(Exception):
    """The base of every error Veltra raises (the model's TVeltraError)."""


class InputError(Error, ValueError):
    """The input is wrong: a value the editor refuses, or errors the input check lists.

    ``lines`` holds one message per error (the lines of Error.lst for a run).
    """

    def __init__(self, message, lines=None):
        super().__init__(message)
        self.lines = list(lines) if lines is not None else [l for l in str(message).split("\n") if l]


class FileError(Error, OSError):
    """A file cannot be read or written, or is not in its layout."""


class UsageError(Error, ValueError):
    """A call the model refuses: a sweep setting it cannot build, a series that does not fit."""


class StoppedRun(Error):
    """The model stopped the run (raised only with ``run(..., raise_on_stop=True)``).

    ``result`` holds the seasons up to the stop.
    """

    def __init__(self, message, result=None):
        super().__init__(message)
        self.result = result


# ---------------------------------------------------------------------- the input

_FIELDS = dict(_veltra.fields())


class Seasonal:
    """The values of a seasonal field, one per season, indexed from 0 (``[1]`` is season 2).

    A view of the input: ``inp.IaA[1] = 0.8`` changes the input. Its length is the
    input's number of seasons Ns.
    """

    __slots__ = ("_rec", "_name")

    def __init__(self, rec, name):
        self._rec = rec
        self._name = name

    def __len__(self):
        return max(1, min(4, int(self._rec.get("Ns"))))

    def __getitem__(self, index):
        if isinstance(index, slice):
            return [self._rec.get_season(self._name, i) for i in range(len(self))[index]]
        return self._rec.get_season(self._name, _index(index))

    def __setitem__(self, index, value):
        if isinstance(index, slice):
            seasons = range(len(self))[index]
            values = list(value)
            if len(values) != len(seasons):
                raise ValueError(f"{self._name}: {len(values)} values for {len(seasons)} seasons")
            for i, v in zip(seasons, values):
                self._rec.set_season(self._name, i, float(v))
            return
        self._rec.set_season(self._name, _index(index), float(value))

    def __iter__(self):
        return iter(self[:])

    def __eq__(self, other):
        try:
            return list(self) == list(other)
        except TypeError:
            return NotImplemented

    def __repr__(self):
        return f"{self._name}{list(self)!r}"


def _index(index):
    if not isinstance(index, int) or isinstance(index, bool):
        raise TypeError(f"season indices are whole numbers, not {index!r}")
    return index


class Input:
    """A model input: every value of an input file, by the model's symbols.

    Scalars and keys are attributes (``inp.Dd``, ``inp.QH1``, ``inp.Ny``, ``inp.Kr``);
    seasonal values are sequences indexed from 0 (``inp.IaA[1]`` is season 2), and a
    whole sequence may be assigned (``inp.IaA = [1.2, 0.0]``). A value is tested as
    the input editor tests it before it is stored: a value out of its range raises
    :class:`InputError` (a ``ValueError``) naming the field and the rule, and so does
    a field the keys leave out of the input (``Dd`` with ``Kd = 0``). Rules over
    several values (season durations adding up to 12, A + B at most 1, drains in the
    transition zone, ...) are the input check's: see :func:`check`.

    ``Title1`` and ``Title2`` are the file's title lines; ``name`` names the input (its
    file's path, or ``field.inp`` for the example), which a run and a sweep use for
    their files and case names.
    """

    __slots__ = ("_rec",)

    def __init__(self, record=None):
        object.__setattr__(self, "_rec", record if record is not None else _veltra.Record())

    def __getattr__(self, name):
        kind = _FIELDS.get(name)
        if kind is None:
            raise AttributeError(f"the input has no field {name!r}")
        if kind == "seasonal":
            return Seasonal(self._rec, name)
        return self._rec.get(name)

    def __setattr__(self, name, value):
        if name in ("Title1", "Title2", "name"):
            setattr(self._rec, name, str(value))
            return
        kind = _FIELDS.get(name)
        if kind is None:
            raise AttributeError(f"the input has no field {name!r}")
        if kind == "seasonal":
            values = [float(v) for v in value]
            if len(values) != len(Seasonal(self._rec, name)):
                raise ValueError(f"{name}: {len(values)} values for {len(Seasonal(self._rec, name))} seasons (Ns)")
            Seasonal(self._rec, name)[:] = values
        else:
            self._rec.set(name, float(value))

    @property
    def Title1(self):
        return self._rec.Title1

    @property
    def Title2(self):
        return self._rec.Title2

    @property
    def name(self):
        return self._rec.name

    @staticmethod
    def fields():
        """The symbols of the input's fields, in the order of the file's groups."""
        return list(_FIELDS)

    def copy(self):
        """An independent copy of this input."""
        return Input(self._rec.copy())

    def write(self, path):
        """Writes the input file ``path`` in the current layout (CR LF), as ``veltra convert``.

        The file keeps each value with its group's decimals: reading it back gives the
        values rounded so.
        """
        self._rec.write(os.fspath(path))

    def text(self):
        """The input file's text (bytes, CR LF line ends), as :meth:`write` writes it."""
        return self._rec.text()

    def __eq__(self, other):
        if not isinstance(other, Input):
            return NotImplemented
        return self._rec.state() == other._rec.state()

    def __reduce__(self):
        return (_input_from_state, (self._rec.state(),))

    def __dir__(self):
        return sorted(set(super().__dir__()) | set(_FIELDS))

    def __repr__(self):
        return f"<veltra.Input {self.name!r}: {self.Title1.strip()!r}, Ns={self.Ns}, Ny={self.Ny}>"


def _input_from_state(state):
    return Input(_veltra.from_state(state))


def read_input(path):
    """Reads the input file ``path`` (any of the layouts the model reads) as ``veltra run`` reads it."""
    return Input(_veltra.read_input(os.fspath(path)))


def example(name="field"):
    """The bundled example ``"field"`` or ``"wells"``, without a file."""
    return Input(_veltra.example(name))


def check(inp):
    """The error messages of the input check, one per broken rule (empty when there is none).

    The lines ``veltra check`` writes into Error.lst, without their leading blank.
    """
    return list(inp._rec.check())


# ---------------------------------------------------------------------- results

class Result:
    """The results of a run, or of a result file read back.

    ``seasons``: a pandas DataFrame, one row per season record (year 0 first), with
    the columns ``year``, ``season`` and then every symbol of the result file as a float
    column (``It`` ... ``Cw``; the total irrigation efficiency is ``EfT`` whatever its
    label), NaN where the result file shows "-". A run gives the model's numbers in
    full; the file shows them with 3 digits (:func:`result_cell`).

    ``frequency``: a DataFrame of the cumulative frequency distributions of the
    root-zone salinity (``Cr4``, or the symbols of another rotation key): one row per
    season record and symbol, with the salinity below which 20, 40, 60 and 80 % of
    the area lie (``p20`` ... ``p80``).

    ``warnings``: the runtime warnings, one str each (their lines joined by "\\n").
    ``stopped``: None, or why the model stopped the run.
    ``files``: for a run with ``write_to``, the input file it ran.
    """

    def __init__(self, tables, stopped=None, files=None):
        import pandas as pd

        self.seasons = pd.DataFrame(tables["cells"], columns=tables["columns"])
        self.seasons.insert(0, "season", tables["season"])
        self.seasons.insert(0, "year", tables["year"])
        points = tables["frequency_points"]
        self.frequency = pd.DataFrame({
            "year": tables["frequency_year"], "season": tables["frequency_season"],
            "symbol": tables["frequency_symbol"], "p20": points[:, 0], "p40": points[:, 1], "p60": points[:, 2],
            "p80": points[:, 3]})
        self.warnings = list(tables["warnings"])
        self.stopped = stopped
        self.files = files

    def __repr__(self):
        last = self.seasons.iloc[-1] if len(self.seasons) else None
        where = f" to year {int(last.year)} season {int(last.season)}" if last is not None else ""
        stop = f", stopped: {self.stopped}" if self.stopped else ""
        return f"<veltra.Result: {len(self.seasons)} season records{where}, {len(self.warnings)} warnings{stop}>"


def _result(tables, raise_on_stop, files=None):
    stopped = tables["message"] if tables["status"] == "stopped" else None
    result = Result(tables, stopped, files)
    if stopped and raise_on_stop:
        raise StoppedRun(stopped, result)
    return result


def run(inp, *, write_to=None, raise_on_stop=False):
    """Runs the input as it stands and returns its :class:`Result`.

    In memory and at full precision: nothing is read or written. An input with
    ``Ky = 1`` runs its years one after another without changes, as ``veltra run``
    runs it. ``veltra.run(veltra.read_input(path))`` gives the numbers of ``veltra run
    path``.

    ``write_to=folder`` writes the input file into that folder (named after the
    input) and runs it from that file, leaving exactly the files ``veltra run`` leaves
    there (.res, .frq, .trf, warning.lst; Error.lst when the input has errors); the
    numbers are then those of the file, whose values have the file's decimals.

    Raises :class:`InputError` (its ``lines`` those of Error.lst) when the input has
    errors. A run the model stops returns its seasons up to the stop with
    ``stopped`` set, or raises :class:`StoppedRun` with ``raise_on_stop=True``.
    """
    if write_to is not None:
        tables = _veltra.run_from_file(inp._rec, os.fspath(write_to))
        return _result(tables, raise_on_stop, tables.get("input"))
    return _result(_veltra.run(inp._rec), raise_on_stop)


def series(inputs, *, raise_on_stop=False):
    """Runs a year-by-year series with input changes between the years, as ``veltra series``.

    ``inputs[0]`` (with ``Ky = 1``) starts the series; year k takes the input of
    ``inputs[k - 1]`` (the last one once they run out), each as it stands. Every input
    needs ``Ky = 1`` and the first one's ``Ns`` and ``Ny``.
    """
    inputs = list(inputs)
    if not inputs:
        raise UsageError("a series needs at least one input")
    return _result(_veltra.series([i._rec for i in inputs]), raise_on_stop)


def read_result(path):
    """Reads the result file ``path`` (.res) of an earlier run into a :class:`Result`.

    Its values are the file's 3-digit cells; the frequency table comes from the
    frequency sections of its records, which hold what its .frq file holds. The
    warnings are not in the file: ``warnings`` is empty and ``stopped`` None.
    """
    return Result(_veltra.read_result(os.fspath(path)))


def result_cell(value):
    """The 10-character cell the result file shows for ``value`` ("%10.3e", three exponent digits; NaN: "-")."""
    return _veltra.result_cell(float(value))


# ---------------------------------------------------------------------- sweeps

def _settings(grid):
    settings = []
    for name, values in grid.items():
        if isinstance(values, (str, bytes)) or not hasattr(values, "__iter__"):
            values = [values]
        settings.append(f"{name}=" + ",".join(_veltra.full_number(float(v)) for v in values))
    return settings


def _sweep_chunk(state, settings, indices, jobs=1):
    """A chunk of a sweep's cases on a worker: their summary.csv lines."""
    return _veltra.sweep(_veltra.from_state(state), settings, list(indices), jobs)[1]


def sweep(inp, grid, *, jobs=None, client=None, chunk=None):
    """Runs the grid of values of a few input fields, as ``veltra sweep``, and returns
    its ``summary.csv`` table as a pandas DataFrame (same columns, same values).

    ``grid`` maps the names of ``veltra sweep --set`` to their values:
    ``{"Dd": [1.0, 1.5], "IaA[2]": [0.5, 0.8]}`` (``IaA`` sets every season, ``IaA[2]``
    season 2 only: seasons are counted from 1 here, as on the command line). The first
    name varies slowest. Each case runs from the input its input file would hold, so
    its numbers are those of ``veltra run`` on that file; a case whose input the check
    refuses is a row with status "input errors" and does not run. A name, season or
    value the sweep cannot use raises :class:`UsageError`.

    ``jobs``: threads in this process (default: every core it may use).
    ``client``: a ``dask.distributed.Client``: the cases go to its workers in chunks
    of ``chunk`` cases (default: about four chunks a worker), and the rows come back
    in case order, the same as a local run's. Each worker needs this package.
    """
    import pandas as pd

    settings = _settings(grid)
    count = _veltra.sweep_case_count(inp._rec, settings)
    if client is None:
        header, lines, notes = _veltra.sweep(inp._rec, settings, [], int(jobs or 0))
    else:
        header, _, notes = _veltra.sweep(inp._rec, settings, [1], 1)
        workers = max(1, len(client.scheduler_info().get("workers", {})))
        size = int(chunk or max(1, -(-count // (4 * workers))))
        state = inp._rec.state()
        futures = [client.submit(_sweep_chunk, state, settings, range(first, min(first + size, count + 1)),
                                 int(jobs or 1), pure=False)
                   for first in range(1, count + 1, size)]
        lines = [line for chunk_lines in client.gather(futures) for line in chunk_lines]
    for note in notes:
        _warnings.warn(f"{inp.name} holds more decimals than an input file keeps: {note}", stacklevel=2)
    # Read as pandas reads the summary.csv of `veltra sweep`.
    return pd.read_csv(io.StringIO(header + "".join(lines)))


# ---------------------------------------------------------------------- fits

class FitResult:
    """What :func:`fit` found, as ``veltra fit`` reports it.

    ``best``: the input with the best values, rounded to the decimals its file keeps
    (everything below is that rounded point's); ``parameters``: a DataFrame, a row per
    fitted field (``name``, ``low``, ``high``, ``best``, ``standard_error`` — NaN where
    it cannot be estimated — and ``note``); ``symbols``: a row per observed symbol
    (``symbol``, ``n``, ``rmse``, ``bias``, ``nse`` — NaN for constant observations —
    and ``term``, its part of the objective); ``runs``: every run of the search (the
    ``runs.csv`` of the command); ``objective``; ``report``: the text of ``fit.txt``.
    """

    def __init__(self, found):
        import pandas as pd

        self.best = Input(found["best"])
        self.parameters = pd.DataFrame(found["parameters"],
                                       columns=["name", "low", "high", "best", "standard_error", "note"])
        self.parameters["standard_error"] = self.parameters["standard_error"].astype(float)
        self.symbols = pd.DataFrame(found["symbols"], columns=["symbol", "n", "rmse", "bias", "nse", "term"])
        self.symbols["nse"] = self.symbols["nse"].astype(float)
        self.runs = pd.read_csv(io.StringIO(found["runs_csv"]))
        self.objective = found["objective"]
        self.report = found["report"]

    def __repr__(self):
        return f"<veltra.FitResult objective={self.objective:.6g}, {len(self.runs)} runs>"


def fit(inp, observed, bounds, *, max_runs=2000, seed=1, jobs=None):
    """Searches the values of a few input fields that make the run reproduce field
    observations best, as ``veltra fit``, and returns a :class:`FitResult`.

    ``observed``: a DataFrame with the columns ``year``, ``season``, ``symbol``,
    ``value`` and optionally ``weight`` (seasons counted from 1; ``symbol`` any
    per-season result symbol: Cr4, Dw, Cqf, ...), or the path of such a CSV file.
    ``bounds`` maps the names of ``veltra sweep --set`` to (low, high):
    ``{"Flr": (0.5, 1.0), "QH1[1]": (0.001, 0.01)}``. The same seed and inputs give the
    same result, whatever ``jobs`` (threads; default every core). Faulty observations
    or bounds raise :class:`FileError` or :class:`UsageError`; an input that fails the
    check, or a search in which no run was feasible, raises :class:`InputError`.
    """
    if isinstance(observed, (str, bytes, os.PathLike)):
        with open(observed, encoding="utf-8") as f:
            text = f.read()
    else:
        columns = ["year", "season", "symbol", "value"] + (["weight"] if "weight" in observed.columns else [])
        text = observed.to_csv(index=False, columns=columns, lineterminator="\n")
    params = [(str(name), float(low), float(high)) for name, (low, high) in bounds.items()]
    found = _veltra.fit(inp._rec, text, params, int(max_runs), int(seed), int(jobs or _veltra.cores()))
    return FitResult(found)
