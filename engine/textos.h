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

// The exchange house's own answers (RespuestasCC.ini and the checks of each answer).
inline constexpr const char* kNoAplica = "NO APLICA";
inline constexpr const char* kPreguntaNoEsDelCC =
    "Esta pregunta la responde el programa con la base de datos, no el centro cambiario.";
inline constexpr const char* kNoEsLista = "Esta pregunta se responde con texto, no con opciones.";
inline constexpr const char* kListaSinTexto =
    "Esta pregunta se responde eligiendo opciones de la lista.";
inline constexpr const char* kNoEsEntero =
    "Escriba un número entero mayor o igual a 0, sólo con dígitos (sin puntos, comas ni "
    "signos).";
inline constexpr const char* kNoEsMonto =
    "Escriba un monto mayor o igual a 0 sólo con dígitos y, si lleva centavos, un punto "
    "decimal con uno o dos decimales, sin comas (por ejemplo: 1250000.50).";
inline constexpr const char* kSoloUnaOpcion = "Elija una sola opción.";
inline constexpr const char* kOpcionDesconocida = "La opción no está en la lista: ";
inline constexpr const char* kOpcionRepetida =
    "La opción está repetida o fuera del orden de la lista: ";
inline constexpr const char* kFaltaEspecifique =
    "Escriba su propio valor en el recuadro de \"ESPECIFIQUE SU PROPIO VALOR\".";
inline constexpr const char* kEspecifiqueSinOpcion =
    "Hay un valor propio escrito, pero no está elegida la opción \"ESPECIFIQUE SU PROPIO "
    "VALOR\".";
inline constexpr const char* kAvisoRFC =
    "El RFC de una persona moral con homoclave tiene 12 caracteres: 3 letras, la fecha de "
    "constitución (AAMMDD) y 3 caracteres de homoclave (por ejemplo: ABC010203XY1). Revíselo; "
    "se guardará tal como lo escribió.";
inline constexpr const char* kLinea = "Línea ";
inline constexpr const char* kSeccionAjena = "sección desconocida: ";
inline constexpr const char* kLineaFueraDeSeccion = "texto fuera de la sección [RespuestasCC].";
inline constexpr const char* kClaveDesconocida =
    "clave que no corresponde a ninguna pregunta del centro cambiario: ";
inline constexpr const char* kClaveRepetida = "pregunta repetida (se toma la primera): ";
inline constexpr const char* kArchivoAjeno =
    "El archivo no es de respuestas del centro cambiario: le falta la sección [RespuestasCC].";
inline constexpr const char* kArchivoNoUtf8 =
    "El archivo no es de respuestas del centro cambiario: no es texto UTF-8.";
inline constexpr const char* kArchivoIlegible = "No se pudo leer el archivo ";
inline constexpr const char* kNoSeCreoCarpeta = "No se pudo crear la carpeta ";
inline constexpr const char* kNoSeEscribioArchivo = "No se pudo escribir el archivo ";
inline constexpr const char* kReleidoDistinto =
    "El archivo guardado no tiene las mismas respuestas al leerlo de nuevo: ";
inline constexpr const char* kEncabezadoArchivoCC =
    "; Respuestas del centro cambiario al Cuestionario de Operatividad CNBV - 2020\n"
    "; (Encuesta SITI 2020, operaciones de 2019). Lo escribe el programa con el botón\n"
    "; \"Respuestas del centro cambiario…\"; es texto UTF-8 y se puede revisar con un editor.\n"
    "; Una clave por pregunta (P1 = pregunta 1); vacía = sin responder. Las listas llevan el\n"
    "; nombre de cada opción elegida, separados por \" | \"; \"ESPECIFIQUE SU PROPIO VALOR:\"\n"
    "; va seguido del valor propio. En los textos, \\n es un salto de línea y \\\\ una diagonal\n"
    "; invertida.\n";
// The evidence workbook: sheets, the Cálculo and Evidencia columns, failures.
inline constexpr const char* kArchivoEvidencia = "CuestionarioOperatividad2020-evidencia.xlsx";
inline constexpr const char* kHojaRespuestas = "Respuestas";
inline constexpr const char* kHojaRankings = "Rankings";
inline constexpr const char* kTodasLasFilas = " (todas las filas)";
inline constexpr const char* kFiltro = "filtro: ";
inline constexpr const char* kEnBlanco = " en blanco";
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
