# Type stubs of the veltra package, for editors and type checkers.
import os
from typing import Any, Iterable, Iterator, Mapping, Sequence, overload

import pandas

_Path = str | os.PathLike[str]

class Error(Exception): ...

class InputError(Error, ValueError):
    lines: list[str]
    def __init__(self, message: str, lines: Iterable[str] | None = ...) -> None: ...

class FileError(Error, OSError): ...
class UsageError(Error, ValueError): ...

class StoppedRun(Error):
    result: Result | None
    def __init__(self, message: str, result: Result | None = ...) -> None: ...

class Seasonal(Sequence[float]):
    def __len__(self) -> int: ...
    @overload
    def __getitem__(self, index: int) -> float: ...
    @overload
    def __getitem__(self, index: slice) -> list[float]: ...
    @overload
    def __setitem__(self, index: int, value: float) -> None: ...
    @overload
    def __setitem__(self, index: slice, value: Iterable[float]) -> None: ...
    def __iter__(self) -> Iterator[float]: ...

class Input:
    Title1: str
    Title2: str
    name: str
    # General data and keys
    Area: float
    Kd: int
    Kf: int
    Kr: int
    Krf: int
    Kp: int
    Ns: int
    Ny: int
    Ky: int
    CAmax: float
    CBmax: float
    # Seasonal data, indexed from 0 (season 1 is [0]); assign a sequence of Ns values
    Ts: Seasonal
    A: Seasonal
    B: Seasonal
    RcA: Seasonal
    RcB: Seasonal
    Lc: Seasonal
    Io: Seasonal
    IaA: Seasonal
    IaB: Seasonal
    Pp: Seasonal
    EpA: Seasonal
    EpB: Seasonal
    EpU: Seasonal
    FsA: Seasonal
    FsB: Seasonal
    FsU: Seasonal
    Gi: Seasonal
    Go: Seasonal
    SiU: Seasonal
    SoU: Seasonal
    SoA: Seasonal
    SoB: Seasonal
    Gw: Seasonal
    FAw: Seasonal
    FBw: Seasonal
    DAu: Seasonal
    DBu: Seasonal
    Frd: Seasonal
    # Soil, salinity and drainage constants
    Dr: float
    Ptr: float
    Dx: float
    Ptx: float
    Dq: float
    Ptq: float
    Per: float
    Flr: float
    Pex: float
    Flx: float
    Peq: float
    Flq: float
    Cx0: float
    Cq0: float
    Cic: float
    Ch: float
    Cp: float
    CA0: float
    CB0: float
    CU0: float
    Dw0: float
    Dc: float
    Dd: float
    QH1: float
    QH2: float
    CxA0: float
    CxB0: float
    @staticmethod
    def fields() -> list[str]: ...
    def copy(self) -> Input: ...
    def write(self, path: _Path) -> None: ...
    def text(self) -> bytes: ...

class Result:
    seasons: pandas.DataFrame
    frequency: pandas.DataFrame
    warnings: list[str]
    stopped: str | None
    files: str | None

def read_input(path: _Path) -> Input: ...
def example(name: str = ...) -> Input: ...
def check(inp: Input) -> list[str]: ...
def run(inp: Input, *, write_to: _Path | None = ..., raise_on_stop: bool = ...) -> Result: ...
def series(inputs: Iterable[Input], *, raise_on_stop: bool = ...) -> Result: ...
def read_result(path: _Path) -> Result: ...
def result_cell(value: float) -> str: ...
def sweep(
    inp: Input,
    grid: Mapping[str, Iterable[float] | float],
    *,
    jobs: int | None = ...,
    client: Any | None = ...,
    chunk: int | None = ...,
) -> pandas.DataFrame: ...

class FitResult:
    best: Input
    parameters: pandas.DataFrame
    symbols: pandas.DataFrame
    runs: pandas.DataFrame
    objective: float
    report: str

def fit(
    inp: Input,
    observed: pandas.DataFrame | _Path,
    bounds: Mapping[str, tuple[float, float]],
    *,
    max_runs: int = ...,
    seed: int = ...,
    jobs: int | None = ...,
) -> FitResult: ...
