"""An RTU-over-TCP device for the integration tests, built on pymodbus's server.

    /usr/bin/python3 pymodbus_rtu_device.py [--port P] [--unit U] [--delay-ms D] [--size N]

Listens on 127.0.0.1:P (0, the default, picks a free port), prints the bound port as one line
on stdout, and speaks raw RTU frames (unit, PDU, CRC-16) on the TCP stream, as a serial
gateway passes them through. It serves the same tables as the libmodbus device (see
DeviceContents.hpp): coil a is on when a % 3 == 0, discrete input a when a % 2 == 1, holding
register a holds a, input register a holds (0x8000 + a) mod 65536. --unit U answers only unit
U and stays silent for the others; --delay-ms D waits D milliseconds before every answer;
--size N gives every table N addresses. The device ends when stdin reaches end of file (the
test that started it has gone) or on SIGTERM.
"""

import argparse
import asyncio
import logging
import sys
import time

from pymodbus.datastore import (
    ModbusSequentialDataBlock,
    ModbusServerContext,
    ModbusSlaveContext,
)
from pymodbus.framer.rtu_framer import ModbusRtuFramer
from pymodbus.server.async_io import ModbusTcpServer


def tables(size):
    # zero_mode: pymodbus otherwise adds one to every protocol address, and the two peers
    # would disagree about what lives where.
    return ModbusSlaveContext(
        co=ModbusSequentialDataBlock(0, [a % 3 == 0 for a in range(size)]),
        di=ModbusSequentialDataBlock(0, [a % 2 == 1 for a in range(size)]),
        hr=ModbusSequentialDataBlock(0, list(range(size))),
        ir=ModbusSequentialDataBlock(0, [(0x8000 + a) & 0xFFFF for a in range(size)]),
        zero_mode=True,
    )


async def serve(options):
    if options.unit is None:
        context = ModbusServerContext(slaves=tables(options.size), single=True)
    else:
        context = ModbusServerContext(slaves={options.unit: tables(options.size)}, single=False)

    manipulator = None
    if options.delay_ms > 0:
        def manipulator(response):
            # Blocking on purpose: a serial device answers one request at a time.
            time.sleep(options.delay_ms / 1000.0)
            return response, False

    server = ModbusTcpServer(
        context,
        ModbusRtuFramer,
        address=("127.0.0.1", options.port),
        allow_reuse_address=True,
        ignore_missing_slaves=True,
        response_manipulator=manipulator,
    )
    task = asyncio.create_task(server.serve_forever())
    await server.serving
    print(server.server.sockets[0].getsockname()[1], flush=True)

    loop = asyncio.get_running_loop()
    stdin_closed = loop.create_future()

    def on_stdin():
        if not sys.stdin.buffer.read1(1024):
            loop.remove_reader(sys.stdin.fileno())
            stdin_closed.set_result(None)

    loop.add_reader(sys.stdin.fileno(), on_stdin)
    await stdin_closed
    await server.shutdown()
    task.cancel()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--unit", type=int, default=None)
    parser.add_argument("--delay-ms", type=int, default=0)
    parser.add_argument("--size", type=int, default=65536)
    options = parser.parse_args()
    # pymodbus logs every exception answer it sends as an error; a test device stays quiet.
    logging.getLogger("pymodbus").setLevel(logging.CRITICAL)
    asyncio.run(serve(options))


if __name__ == "__main__":
    main()
