#pragma once
// Every text the Jet engine shows to users (through "BD-101" reports and jetsql).
// Users are Spanish-speaking compliance staff, so the texts are Spanish.
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

namespace kv::textos_jet {

// Class name of every failure of the engine.
inline constexpr const char* kClass = "EJetError";

inline constexpr const char* kNoDataSource =
    "La cadena de conexión no indica el archivo (Data Source)";
inline constexpr const char* kNotAccess =
    "El archivo no es una base de datos de Access (Jet 3 o Jet 4)";
inline constexpr const char* kBadPassword = "La contraseña de la base de datos no es válida";
inline constexpr const char* kReadOnly =
    "La base de datos de Access se abre sólo para lectura: no se permiten DELETE ni TRUNCATE";
inline constexpr const char* kOnlySelect = "La instrucción no devuelve registros";
inline constexpr const char* kDivByZero = "División entre cero";
inline constexpr const char* kTypeMismatch = "Los tipos de datos no coinciden en la expresión";
inline constexpr const char* kOverflow = "Desbordamiento numérico";
inline constexpr const char* kTooLong = "La instrucción SQL es demasiado larga o anidada";
inline constexpr const char* kReaderFailed = "El archivo de Access está dañado o no se puede leer";
inline constexpr const char* kReaderHung = "La lectura del archivo de Access no terminó a tiempo";
inline constexpr const char* kBadArgument = "Argumento no válido en la llamada a una función";
inline constexpr const char* kBadPattern = "Patrón de LIKE no válido";
inline constexpr const char* kInterrupted = "La consulta se interrumpió a petición del usuario";
inline constexpr const char* kTimeLimit = "La consulta se interrumpió: pasó su tiempo límite";
inline constexpr const char* kChangedDuringCommand =
    "La base de datos cambió mientras se leía; vuelva a ejecutar el comando";

// Details of syntax errors, unsupported constructs and damaged files.
namespace text {
inline constexpr const char* kAliasDe = "alias de *";
inline constexpr const char* kCadenaDePaginasCircular = "cadena de páginas circular";
inline constexpr const char* kCampoFueraDeLaPagina = "campo fuera de la página";
inline constexpr const char* kCampoFueraDeRango = "campo fuera de rango";
inline constexpr const char* kCampoMasCortoQueSu = "campo más corto que su tipo";
inline constexpr const char* kCaracterInesperado = "carácter inesperado '";
inline constexpr const char* kDISTINCTDentroDeUnaFuncion = "DISTINCT dentro de una función";
inline constexpr const char* kDISTINCTROW = "DISTINCTROW";
inline constexpr const char* kEXISTS = "EXISTS";
inline constexpr const char* kElLectorTerminoAntesDe = "el lector terminó antes de tiempo";
inline constexpr const char* kElLectorTerminoConError = "el lector terminó con error";
inline constexpr const char* kFalta = "falta ']'";
inline constexpr const char* kFechaSinCerrar = "fecha sin cerrar";
inline constexpr const char* kFilaAntesDeLosCampos = "fila antes de los campos";
inline constexpr const char* kFilaSinTodosSusCampos = "fila sin todos sus campos";
inline constexpr const char* kFueraDeCOUNT = "'*' fuera de COUNT(*)";
inline constexpr const char* kFueraDeLaListaDe = "'*' fuera de la lista de campos";
inline constexpr const char* kFuncionesDeAgregadoAnidadas = "funciones de agregado anidadas";
inline constexpr const char* kINSELECT = "IN (SELECT …)";
inline constexpr const char* kJOINSinINNERLEFTO = "JOIN sin INNER, LEFT o RIGHT";
inline constexpr const char* kLaInstruccionTerminaAntesDe =
    "la instrucción termina antes de tiempo";
inline constexpr const char* kLibmdbNoPudoAbrirEl = "libmdb no pudo abrir el archivo";
inline constexpr const char* kLongitudFueraDeRango = "longitud fuera de rango";
inline constexpr const char* kNoSePudieronLeerLos = "no se pudieron leer los campos";
inline constexpr const char* kNoSePudoLeerEl = "no se pudo leer el catálogo";
inline constexpr const char* kNoSePudoLeerLa = "no se pudo leer su definición";
inline constexpr const char* kNombreVacioEntreCorchetes = "nombre vacío entre corchetes";
inline constexpr const char* kNombresConTresPartes = "nombres con tres partes";
inline constexpr const char* kNumeroDeCamposFueraDe = "número de campos fuera de rango";
inline constexpr const char* kNumeroMalFormado = "número mal formado";
inline constexpr const char* kORDERBYDeUnaUNION = "ORDER BY de una UNION sobre una expresión";
inline constexpr const char* kOperador = "operador ";
inline constexpr const char* kOperadorUse = "operador '!=' (use '<>')";
inline constexpr const char* kPalabraReservada = "palabra reservada '";
inline constexpr const char* kRespuestaInesperadaDelLector = "respuesta inesperada del lector";
inline constexpr const char* kSELECTINTO = "SELECT … INTO";
inline constexpr const char* kSeEsperaba = "se esperaba ";
inline constexpr const char* kSeEsperaba2 = "se esperaba '";
inline constexpr const char* kSeEsperabaLIKEBETWEENO = "se esperaba LIKE, BETWEEN o IN";
inline constexpr const char* kSeEsperabaSELECTDELETEO = "se esperaba SELECT, DELETE o TRUNCATE";
inline constexpr const char* kSeEsperabaUnaExpresion = "se esperaba una expresión";
inline constexpr const char* kSubconsultasEscalares = "subconsultas escalares";
inline constexpr const char* kTOPConDISTINCTYORDER = "TOP con DISTINCT y ORDER BY";
inline constexpr const char* kTOPConORDERBYSobre = "TOP con ORDER BY sobre campos repetidos";
inline constexpr const char* kTOPEnElUltimoMiembro = "TOP en el último miembro de una UNION";
inline constexpr const char* kTOPNecesitaUnNumeroEntero = "TOP necesita un número entero";
inline constexpr const char* kTOPNecesitaUnNumeroMayor = "TOP necesita un número mayor que cero";
inline constexpr const char* kTOPPERCENT = "TOP … PERCENT";
inline constexpr const char* kTablaSinCampos = "tabla sin campos";
inline constexpr const char* kTextoSinCerrar = "texto sin cerrar";
inline constexpr const char* kTextoSobrante = "texto sobrante '";
inline constexpr const char* kTipoDesconocido = "tipo desconocido";
inline constexpr const char* kValorDesconocido = "valor desconocido";
inline constexpr const char* kValorLargoConMarcasDesconocidas =
    "valor largo con marcas desconocidas";
inline constexpr const char* kValorLargoDemasiadoGrande = "valor largo demasiado grande";
inline constexpr const char* kValorLargoFueraDeLa = "valor largo fuera de la página";
inline constexpr const char* kValorLargoIlegible = "valor largo ilegible";
inline constexpr const char* kNombreDeTabla = "nombre de tabla";
inline constexpr const char* kNombreDeCampo = "nombre de campo";
inline constexpr const char* kAlias = "alias";
inline constexpr const char* kNoEsArchivo = "no es un archivo";
inline constexpr const char* kNoExiste = "no existe";
inline constexpr const char* kSinPermiso = "no tiene permiso para leerlo";
inline constexpr const char* kDiscoLleno = "el disco está lleno";
inline constexpr const char* kErrorDelSistema = "error del sistema: ";
inline constexpr const char* kNoSeEncontroElLector = "no se encontró el programa lector ";
inline constexpr const char* kNoSePudoIniciarElLector = "no se pudo iniciar el programa lector: ";
inline constexpr const char* kMapaDeUsoIlegible = "su mapa de páginas es ilegible";
inline constexpr const char* kMapaDeUsoDesordenado = "su mapa de páginas no avanza";
inline constexpr const char* kSinMapaDeUso = "no tiene mapa de páginas";
inline constexpr const char* kFilaDesbordadaIlegible = "una fila movida a otra página es ilegible";
inline constexpr const char* kMemoriaInsuficiente = "memoria insuficiente para leer el archivo";
}  // namespace text

// Spanish text of a system error for the common causes; the system's own text otherwise.
inline std::string systemError(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return text::kNoExiste;
    case EACCES:
    case EPERM:
      return text::kSinPermiso;
    case EISDIR:
      return text::kNoEsArchivo;
    case ENOSPC:
    case EDQUOT:
      return text::kDiscoLleno;
    default:
      return std::string(text::kErrorDelSistema) + std::strerror(err);
  }
}

inline std::string cannotOpen(const std::string& path, const std::string& why) {
  return "No se puede abrir el archivo \"" + path + "\": " + why;
}
inline std::string fileEmpty(const std::string& path) {
  return "El archivo \"" + path + "\" está vacío o incompleto";
}
inline std::string unknownTable(const std::string& name) {
  return "No se encontró la tabla o consulta de entrada '" + name + "'";
}
inline std::string syntax(const std::string& detail, std::size_t pos) {
  return "Error de sintaxis en la instrucción SQL (posición " + std::to_string(pos + 1) +
         "): " + detail;
}
inline std::string unsupported(const std::string& what) {
  return "La instrucción SQL usa algo que el motor no admite: " + what;
}
inline std::string unknownFunction(const std::string& name) {
  return "Función no definida en la expresión: " + name;
}
inline std::string wrongArgs(const std::string& name) {
  return "Número de argumentos incorrecto en la función " + name;
}
inline std::string notAggregated(const std::string& column) {
  return "La consulta no incluye la expresión '" + column +
         "' como parte de una función de agregado ni en GROUP BY";
}
inline std::string invalidDate(const std::string& text) {
  return "Fecha no válida en la instrucción SQL: #" + text + "#";
}
inline std::string sqliteFailure(const std::string& detail) {
  return "Error al evaluar la consulta: " + detail;
}
inline std::string unknownColumn(const std::string& name) {
  return "No se encontró el campo '" + name + "'";
}
inline std::string readerSignal(int sig) {
  return std::string(kReaderFailed) + " (el lector terminó con la señal " + std::to_string(sig) +
         ")";
}
inline std::string readerError(const std::string& detail) {
  return std::string(kReaderFailed) + ": " + detail;
}
inline std::string readerExit(int code) {
  return readerError(std::string(text::kElLectorTerminoConError) + " " + std::to_string(code));
}
// Detail of a reader error for a table whose stored structures disagree with its pages.
inline std::string damagedTable(const std::string& table, const std::string& what) {
  return "la tabla \"" + table + "\" está dañada (" + what +
         "). Compacte y repare la base de datos en Access";
}
inline std::string pageMissing(std::uint64_t page) {
  return "su página " + std::to_string(page) + " no está en el archivo, que está incompleto";
}
inline std::string pageNotOfTable(std::uint64_t page) {
  return "su página " + std::to_string(page) + " no es una página de datos de la tabla";
}
inline std::string rowUnreadable(std::uint64_t page, unsigned row) {
  return "la fila " + std::to_string(row) + " de su página " + std::to_string(page) +
         " es ilegible";
}
inline std::string rowCountMismatch(std::uint64_t read, std::uint64_t stored) {
  return "se leyeron " + std::to_string(read) + " filas y su definición registra " +
         std::to_string(stored);
}
// The whole file, when its length is not a whole number of pages.
inline std::string partialFile(std::uint64_t size, std::uint64_t pageSize) {
  return readerError("su longitud (" + std::to_string(size) +
                     " bytes) no es un número entero de páginas de " + std::to_string(pageSize) +
                     " bytes: es una copia incompleta o está dañado. Vuelva a copiarlo o "
                     "compáctelo y repárelo en Access");
}

}  // namespace kv::textos_jet
