"""A Modbus client for the integration tests, built on pymodbus's synchronous client.

    /usr/bin/python3 pymodbus_client.py PORT TABLE ADDRESS COUNT [--unit U] [--rtu]

Reads COUNT addresses from TABLE (coil, discreteInput, holdingRegister, inputRegister) at
ADDRESS on 127.0.0.1:PORT and prints the values on one line, separated by spaces: 0 or 1 for
bits, decimal register values for registers. An exception answer prints "exception N"; no
answer exits with status 1. --rtu speaks RTU frames over the TCP stream.
"""

import argparse
import sys

from pymodbus.client import ModbusTcpClient
from pymodbus.framer.rtu_framer import ModbusRtuFramer
from pymodbus.framer.socket_framer import ModbusSocketFramer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("port", type=int)
    parser.add_argument("table")
    parser.add_argument("address", type=int)
    parser.add_argument("count", type=int)
    parser.add_argument("--unit", type=int, default=1)
    parser.add_argument("--rtu", action="store_true")
    options = parser.parse_args()

    framer = ModbusRtuFramer if options.rtu else ModbusSocketFramer
    client = ModbusTcpClient("127.0.0.1", port=options.port, framer=framer, timeout=5)
    if not client.connect():
        sys.exit(1)
    read = {
        "coil": client.read_coils,
        "discreteInput": client.read_discrete_inputs,
        "holdingRegister": client.read_holding_registers,
        "inputRegister": client.read_input_registers,
    }[options.table]
    response = read(options.address, options.count, slave=options.unit)
    client.close()
    if response is None or not hasattr(response, "function_code"):
        sys.exit(1)
    if response.isError():
        print(f"exception {getattr(response, 'exception_code', 0)}")
    elif options.table in ("coil", "discreteInput"):
        print(" ".join("1" if bit else "0" for bit in response.bits[: options.count]))
    else:
        print(" ".join(str(value) for value in response.registers))


if __name__ == "__main__":
    main()
