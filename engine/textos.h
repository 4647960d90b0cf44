#pragma once
// Every text of the questionnaire engine that reaches the user or the document.
namespace kv::textos_motor {

// Answer texts written at a question's bookmark.
inline constexpr const char* kCCDebeResponder = "(** El CC debe responder **)";
inline constexpr const char* kErrorPregunta = "** E R R O R **";
inline constexpr const char* kPrefijoRespuesta = "Respuesta: ";

// Report identity and reported period of the SITI 2020 survey.
inline constexpr const char* kNombreReporteSITI2020 = "Encuesta SITI 2020";
inline constexpr const char* kFechaInicialSITI2020 = "01/01/2019";
inline constexpr const char* kFechaFinalSITI2020 = "12/31/2019";
inline constexpr int kTotalPreguntasSITI2020 = 212;

// Working files of the questionnaire document.
inline constexpr const char* kPlantillaDocWord = "PlantillaCuestionarioOperatividad2020.dotx";
inline constexpr const char* kArchivoDocWord = "CuestionarioOperatividad2020.docx";

// The evidence workbook: sheets, the Cálculo and Evidencia columns, failures.
inline constexpr const char* kArchivoEvidencia = "CuestionarioOperatividad2020-evidencia.xlsx";
inline constexpr const char* kHojaRespuestas = "Respuestas";
inline constexpr const char* kHojaRankings = "Rankings";
inline constexpr const char* kTodasLasFilas = " (todas las filas)";
inline constexpr const char* kFiltro = "filtro: ";
inline constexpr const char* kTodosLosClientes = "todos los clientes";
inline constexpr const char* kDel2019 = " de 2019";
inline constexpr const char* kCalculoCCResponde =
    "La responde el centro cambiario: la base de datos no tiene el dato.";
inline constexpr const char* kCalculoRespuestaCC = "Respuesta del centro cambiario";
inline constexpr const char* kCalculoExiste =
    "SI cuando hay al menos una operación (Valor: número de operaciones) en ";
inline constexpr const char* kCalculoUsuarios = "Número de usuarios en ";
inline constexpr const char* kCalculoUsuariosCuenta =
    ". Cada cliente identificado cuenta una vez; cada operación del público en general cuenta "
    "como un usuario.";
inline constexpr const char* kCalculoOperaciones = "Número de operaciones en ";
inline constexpr const char* kCalculoMonto = "Suma del monto en dólares de las ";
inline constexpr const char* kCalculoPromedio = "Monto promedio en dólares por operación de las ";
inline constexpr const char* kCalculoRedondeo =
    ". La respuesta es el Valor redondeado a dólares enteros.";
inline constexpr const char* kCalculoConversion =
    " Montos en otra moneda: cantidad por tipo de cambio de la operación entre el tipo de cambio "
    "promedio ";
inline constexpr const char* kCalculoActividadTop =
    "Sector de los clientes con más operaciones de 2019 (compras y ventas, todas las divisas y "
    "documentos; sin el sector NO APLICA).";
inline constexpr const char* kCalculoDivisaTop = "Documento con más operaciones en ";
inline constexpr const char* kCalculoClienteTop = "Cliente con más operaciones en ";
inline constexpr const char* kEntreBancosNacionales = ", entre los bancos nacionales";
inline constexpr const char* kCalculoTop =
    " La respuesta es el primer renglón de su ranking; Valor: sus operaciones.";
inline constexpr const char* kEvidenciaSinBase = "No hay conexión con la base de datos.";
inline constexpr const char* kEvidenciaFallaBase =
    "No se pudieron leer las filas de la evidencia: ";

}  // namespace kv::textos_motor
