#include "Localization/HelpTopicTexts.hpp"

#include <fmt/format.h>

namespace tessarin::HelpTopicTexts {

// The texts keep the line breaks a reviewer reads them in.
// clang-format off
std::vector<HelpTopic> spanish(std::string_view appName) {
    using B = HelpBlock;
    return {
        {"start",
         "Primeros pasos",
         "play.circle",
         {
             B::paragraph(fmt::format(
                 "{} es un cliente Modbus TCP: lee valores de los dispositivos de la red, como medidores de "
                 "energía, PLC y controladores, y también puede escribir valores en ellos. A los "
                 "dispositivos situados detrás de una pasarela Modbus a RS-485 se accede de la misma manera.",
                 appName)),
             B::heading("En cuatro pasos"),
             B::bullets({
                 "Introduzca arriba la dirección IP o el nombre del dispositivo y el puerto TCP (`502` por "
                 "defecto).",
                 "Introduzca los puntos de datos en la tabla: ID de unidad, tabla, dirección y tipo, tal "
                 "como figuran en el manual del dispositivo.",
                 "Si hace falta, elija un tiempo de espera más largo con el botón de los controles "
                 "deslizantes; a través de una pasarela a RS-485, 1 s o más.",
                 "Haga clic en **Iniciar** (⌘R). La columna **Valor** muestra los valores actuales, y "
                 "**Estado**, si la lectura funciona.",
             }),
             B::screenshot("overview",
                           "Un poll con valores en directo y el estado de cada punto de datos, con la "
                           "comunicación debajo."),
             B::paragraph(
                 "Los polls y los puntos de datos se guardan automáticamente. El botón **Proyecto**, a la "
                 "izquierda de las pestañas, crea un proyecto nuevo, abre un archivo de proyecto o guarda el "
                 "actual; antes de sustituir el proyecto actual, la aplicación pregunta si desea guardarlo "
                 "primero. ¿No tiene un dispositivo a mano? **Lectura** ▸ **Dispositivo de demostración** "
                 "inicia un dispositivo simulado para el proyecto actual y lo lee."),
         }},
        {"polls",
         "Polls",
         "square.stack",
         {
             B::paragraph(
                 "Un poll es un grupo de puntos de datos con su propio intervalo, que se muestra como una "
                 "pestaña: por ejemplo, lea los valores que cambian rápido cada 250 ms y los contadores cada "
                 "minuto. **+** (⌘T) crea un poll nuevo; haga clic con el botón derecho en una pestaña para "
                 "duplicarla o eliminarla."),
             B::paragraph(
                 "El punto de la pestaña es verde cuando todo se lee y naranja cuando algo falla. Desactive "
                 "**Activo** para omitir un poll."),
             B::paragraph(
                 "Los puntos de datos contiguos se leen en una sola petición (hasta 125 registros o 2000 "
                 "bits). En los ajustes también se pueden salvar pequeños huecos entre direcciones: es más "
                 "rápido, pero algunos dispositivos responden entonces con la excepción 02."),
             B::paragraph(
                 "Solo hay una petición en curso a la vez, y las escrituras van antes que las lecturas. Si "
                 "se pierde la conexión, la aplicación vuelve a conectarse por sí sola."),
         }},
        {"datapoints",
         "Puntos de datos",
         "tablecells",
         {
             B::paragraph(
                 "Un punto de datos es un valor de un dispositivo. La aplicación convierte sus registros en "
                 "un valor legible."),
             B::table({
                 {"ID", "el ID de unidad del dispositivo (1–247; con Modbus TCP, a menudo 1 o 255)"},
                 {"Tabla",
                  "**Bobina** (bit, lectura y escritura), **Entrada discreta** (bit, solo lectura), "
                  "**Registro de retención** (16 bits, lectura y escritura) o **Registro de entrada** (16 "
                  "bits, solo lectura)"},
                 {"Dirección",
                  "la dirección de protocolo, empezando en `0`. Los manuales suelen usar la notación "
                  "Modicon: el registro de retención `40001` es la dirección `0`, el registro de entrada "
                  "`30010` es la dirección `9`. Pase el puntero sobre la dirección para ver la notación "
                  "Modicon."},
                 {"Tipo",
                  "`UInt16`/`Int16` ocupan un registro, `UInt32`/`Int32`/`Float32` dos y los tipos de 64 "
                  "bits cuatro registros consecutivos"},
                 {"Orden", "el orden de bytes de los valores que ocupan varios registros, véase más abajo"},
                 {"Escala", "valor = valor en bruto × escala; con `0,1`, `215` se convierte en `21,5`"},
                 {"Formato",
                  "decimal, hexadecimal (`0x00FF`) o binario; hexadecimal y binario muestran los bits en "
                  "bruto del registro"},
             }),
             B::heading("Orden de palabras"),
             B::paragraph(
                 "Modbus solo conoce registros de 16 bits, y cada fabricante reparte los valores de 32 y 64 "
                 "bits entre ellos a su manera. Las letras representan los bytes del valor, del más "
                 "significativo al menos significativo."),
             B::table({
                 {"ABCD", "palabra alta primero: el estándar Modbus"},
                 {"CDAB", "palabras intercambiadas, habitual en PLC y medidores de energía"},
                 {"BADC", "bytes intercambiados dentro de cada palabra"},
                 {"DCBA", "totalmente invertido (little-endian)"},
             }),
             B::tip(
                 "¿Un valor parece extraño, por ejemplo `0,0000…` con una larga fila de ceros, o un número "
                 "enorme, donde debería estar `21,5`? Pruebe entonces otro orden, normalmente CDAB."),
         }},
        {"writing",
         "Escribir valores",
         "pencil",
         {
             B::paragraph(
                 "Las bobinas y los registros de retención se escriben con el lápiz de la columna **Valor**: "
                 "introduzca el nuevo valor y haga clic en **Escribir**, o, para un bit, haga clic en "
                 "**Encendido** o **Apagado**. El valor se convierte según el tipo, el orden y la escala del "
                 "punto de datos."),
             B::paragraph(
                 "La aplicación escribe una bobina con FC05, un registro con FC06 y varios registros con "
                 "FC16. Para los dispositivos que solo admiten FC15 y FC16, elija **Siempre FC15/16** en los "
                 "ajustes."),
             B::tip(
                 "La escritura solo funciona mientras la lectura está en marcha. Si una escritura falla, un "
                 "aviso muestra el motivo, por ejemplo la excepción 02 (la dirección no existe) o 03 (el "
                 "valor está fuera de rango)."),
         }},
        {"chart",
         "Gráfico y exportación",
         "chart.xyaxis.line",
         {
             B::paragraph(
                 "Marque en la columna **Traza** los puntos de datos que quiera seguir. El gráfico aparece "
                 "abajo: el botón de menú de arriba a la izquierda del panel cambia entre **Log** y "
                 "**Gráfico**, y el periodo se elige arriba a la derecha."),
             B::screenshot("chart", "La temperatura del último minuto."),
             B::paragraph(
                 "Cada valor leído se guarda, hasta 20.000 por punto de datos. **Exportar historial (CSV)…** "
                 "escribe una línea por medición, con la hora, el poll, el nombre, el valor y la unidad."),
         }},
        {"csv",
         "Excel y CSV",
         "doc.text",
         {
             B::paragraph(
                 "Las listas de puntos de datos se pueden preparar en una hoja de cálculo como Excel o "
                 "Numbers e importar como CSV. **CSV ▸ Exportar puntos de datos** escribe un archivo que la "
                 "hoja de cálculo abre directamente, con los valores de ese momento."),
             B::paragraph(
                 "La primera línea contiene los nombres de las columnas. Solo **Table** y **Address** (o "
                 "**Tabla** y **Dirección**) son obligatorias, y el orden de las columnas no importa."),
             B::table({
                 {"Name", "nombre del punto de datos"},
                 {"Unit ID", "ID de unidad, 1 si está vacío"},
                 {"Table", "`CO`, `DI`, `HR` o `IR` (también `coil`, `holding`, `4x` …)"},
                 {"Address", "dirección a partir de 0"},
                 {"Data type", "`uint16`, `int16`, `float32` … (también `float`, `real`, `dint`)"},
                 {"Word order", "`ABCD`, `CDAB`, `BADC` o `DCBA`"},
                 {"Scale, Unit, Format, Value, Description", "opcional"},
             }),
             B::tip(
                 "El separador sigue la configuración regional: punto y coma donde los decimales se escriben "
                 "con coma. Al importar se reconocen la coma, el punto y coma y el tabulador, y tanto `21,5` "
                 "como `21.5`."),
         }},
        {"rtu-over-tcp",
         "RTU sobre TCP",
         "arrow.left.arrow.right",
         {
             B::paragraph(
                 "Muchos convertidores Ethernet y WiFi a RS-485 (como USR-TCP232, Elfin EW11, Waveshare o "
                 "Moxa NPort en modo servidor TCP) reenvían la trama RTU (unidad, PDU, CRC) sin cambios, sin "
                 "cabecera MBAP: *RTU sobre TCP*. Los dispositivos con un convertidor de este tipo integrado "
                 "suelen funcionar igual."),
             B::paragraph(
                 "El protocolo se elige con el botón de los controles deslizantes: **Modbus TCP** o **RTU "
                 "sobre TCP**. Solo se puede cambiar con la lectura detenida, y se guarda en el proyecto."),
             B::heading("Diferencias con Modbus TCP"),
             B::bullets({
                 "El ID de unidad es la dirección de esclavo RS-485 (1–247). La unidad `0` es un broadcast, "
                 "que no recibe respuesta.",
                 "No hay ID de transacción. Por eso, antes de cada petición la aplicación descarta todo lo "
                 "que aún esté llegando, y omite una respuesta de otra unidad o con otro código de función.",
                 "Una respuesta con un CRC incorrecto recibe el estado **Error de CRC**: revise el cableado "
                 "y la velocidad en baudios.",
             }),
             B::tip(
                 "Los ajustes serie del convertidor se configuran en el propio convertidor. Un tiempo de "
                 "espera más largo (1 s o más) ayuda con los dispositivos lentos."),
         }},
        {"log",
         "Estado y log",
         "text.alignleft",
         {
             B::table({
                 {"OK · 24 ms", "leído, con el tiempo de respuesta"},
                 {"Sin respuesta", "ninguna respuesta dentro del tiempo de espera"},
                 {"Excepción 02", "el dispositivo rechaza la petición, véase más abajo"},
                 {"Sin conexión",
                  "se ha perdido la conexión con el dispositivo; la aplicación vuelve a conectarse por sí "
                  "sola"},
             }),
             B::paragraph(
                 "Tras un fallo, se mantiene el último valor correcto, en gris. Pase el puntero sobre el "
                 "valor para ver los registros en bruto, o sobre el estado para ver cuándo se leyó por "
                 "última vez."),
             B::heading("Códigos de excepción"),
             B::table({
                 {"01", "el dispositivo no admite este código de función"},
                 {"02", "esta dirección no existe (atención: las direcciones empiezan en 0)"},
                 {"03", "valor o cantidad no válidos"},
                 {"04", "fallo en el dispositivo"},
                 {"06", "dispositivo ocupado, vuelva a intentarlo más tarde"},
             }),
             B::paragraph(
                 "El log de comunicación está oculto por defecto; el botón **Log** de abajo (⌘L) lo "
                 "muestra. En él aparecen cada respuesta (←), cada escritura (✎) y cada fallo (✕)."),
         }},
        {"troubleshooting",
         "Solución de problemas",
         "wrench.and.screwdriver",
         {
             B::heading("Sin respuesta"),
             B::bullets({
                 // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one sentence over two lines
                 "Compruebe el ID de unidad: a menudo 1 o 255; detrás de una pasarela es la dirección de "
                 "esclavo RTU.",
                 "Aumente el tiempo de espera para los dispositivos lentos.",
                 "Compruebe la red y la dirección IP (`ping` en un terminal).",
                 "Modbus TCP usa por defecto el puerto `502`, pero algunos dispositivos usan otro.",
                 "Un cortafuegos en el ordenador, en la red o en el dispositivo puede bloquear el puerto. En "
                 "el primer inicio, el sistema puede preguntar si permite que la aplicación acepte "
                 "conexiones.",
                 "Compruebe el protocolo: un convertidor suele hablar *RTU sobre TCP*.",
             }),
             B::heading("Valores extraños"),
             B::bullets({
                 "¿Todo está desplazado una dirección? Entonces el manual cuenta desde 1 (o desde 40001): "
                 "reste 1.",
                 "¿Un valor de 32 bits es incorrecto? Pruebe otro orden, normalmente CDAB.",
                 "¿El orden de magnitud es incorrecto? Compruebe la escala (0,1 o 0,01).",
             }),
             B::paragraph(
                 "La aplicación usa la red solo para Modbus TCP, y solo abre y guarda los archivos que usted "
                 "elige. No se recopila ni se envía nada."),
         }},
        {"shortcuts",
         "Atajos de teclado",
         "keyboard",
         {
             B::table({
                 {"⌘R", "Iniciar / detener la lectura"},
                 {"⌘T", "Nuevo poll"},
                 {"⇧⌘D", "Añadir punto de datos"},
                 {"⌘⌫", "Eliminar los puntos de datos seleccionados"},
                 {"⇧⌘I / ⇧⌘E", "Importar / exportar puntos de datos (CSV)"},
                 {"⌘N / ⌘O / ⇧⌘S", "Nuevo proyecto / abrir / guardar como"},
                 {"⌘L", "Mostrar u ocultar el log"},
                 {"⌘F", "Buscar en el log"},
                 {"⌘S", "Guardar log"},
                 {"⌘K", "Borrar log"},
                 {"⌘?", "Abrir esta ayuda"},
             }),
         }},
    };
}
// clang-format on

}  // namespace tessarin::HelpTopicTexts
