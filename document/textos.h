#pragma once
// Every text that the document layer shows or reports.
namespace kv::textos_doc {

// Dialog of a template that cannot be used.
inline constexpr const char* kNoSeEncontroArchivo = "No se encontró el Archivo: ";
inline constexpr const char* kReviseArchivo = "Revise que el archivo exista y vuelva a intentarlo.";
// The converter that stands in for Word's PDF export could not be started.
inline constexpr const char* kErrorInstanciarWord =
    "Ocurrió un error al instanciar el programa Word";

// Errors of the package layer (after the file or part name).
inline constexpr const char* kPaqueteIlegible = "No se pudo leer el paquete del documento: ";
inline constexpr const char* kParteFaltante = "Falta la parte del documento: ";
inline constexpr const char* kParteXmlInvalida = "La parte del documento no es XML válido: ";
inline constexpr const char* kTipoNoAdmitido =
    "El paquete no es un documento ni una plantilla de Word: ";
inline constexpr const char* kEspacioNoAdmitido =
    "La parte no usa el prefijo w: del espacio de nombres de WordprocessingML: ";
inline constexpr const char* kErrorGuardar = "No se pudo guardar el documento: ";
inline constexpr const char* kSinDocumento = "No hay un documento abierto.";
inline constexpr const char* kCodigoEspecialNoAdmitido =
    "Código especial no admitido en el texto de búsqueda o reemplazo: ";
inline constexpr const char* kOpcionNoAdmitida = "Opción de búsqueda no admitida: ";
inline constexpr const char* kOpcionFaltante =
    "La lista de opciones del marcador no tiene la opción pedida: ";
inline constexpr const char* kMarcadorNoAdmitido =
    "El marcador abarca partes del documento que no se pueden borrar juntas: ";

// PDF export.
inline constexpr const char* kConvertidorNoEncontrado = "no se pudo ejecutar el convertidor ";
inline constexpr const char* kConvertidorSinVersion = "el convertidor no informó su versión: ";
inline constexpr const char* kConvertidorAntiguo =
    "La versión del convertidor de PDF es anterior a la ";
inline constexpr const char* kConvertidorFallo = "El convertidor de PDF informó: ";
inline constexpr const char* kConvertidorSinPdf = "El convertidor de PDF no generó el archivo PDF.";
inline constexpr const char* kConvertidorTiempo =
    "El convertidor de PDF no terminó en el tiempo límite (s): ";
inline constexpr const char* kCarpetaTemporal = "No se pudo crear una carpeta temporal: ";
inline constexpr const char* kNoSeMovioPdf = "No se pudo colocar el PDF en ";
inline constexpr const char* kPdfSobreDocumento =
    "El nombre del PDF coincide con el del documento; no se exporta para no sobrescribirlo: ";

// Checks before a report: the converter, the folder, the output and the lock. Each message
// says what is wrong and what to do; the pieces go around a path, a program or a version.
inline constexpr const char* kLibreOfficeNoEncontrado = "No se encontró LibreOffice (";
inline constexpr const char* kLibreOfficeParaPdf =
    "), que este programa usa para crear el PDF. Instale el paquete libreoffice-writer y "
    "vuelva a intentarlo.";
inline constexpr const char* kLibreOfficeNoResponde =
    ") no respondió al pedirle su versión. Revise su instalación (paquete libreoffice-writer) "
    "y vuelva a intentarlo.";
inline constexpr const char* kLibreOfficeAntiguo = "La versión de LibreOffice instalada (";
inline constexpr const char* kLibreOfficeAntiguoMinima = ") es anterior a la ";
inline constexpr const char* kLibreOfficeActualice =
    ". Actualice el paquete libreoffice-writer y vuelva a intentarlo.";
inline constexpr const char* kDetalle = " Detalle: ";
inline constexpr const char* kCarpetaNoEscribible =
    "No se puede escribir en la carpeta del programa: ";
inline constexpr const char* kSoloLectura = " (es de sólo lectura)";
inline constexpr const char* kCarpetaNoEscribibleQueHacer =
    ". Dé permiso de escritura en esa carpeta al usuario que ejecuta este programa y vuelva a "
    "intentarlo.";
inline constexpr const char* kArchivoSoloLectura = "El archivo ";
inline constexpr const char* kArchivoSoloLecturaQueHacer =
    " es de sólo lectura y no se reemplazó. Quítele el atributo de sólo lectura (o muévalo a "
    "otra carpeta) y vuelva a intentarlo.";
inline constexpr const char* kReporteEnCurso =
    "Otra ventana o computadora ya está generando el reporte ";
inline constexpr const char* kDuenoProceso = " (proceso ";
inline constexpr const char* kDuenoEquipo = ", equipo ";
inline constexpr const char* kReporteEnCursoQueHacer =
    ". Espere a que termine y vuelva a intentarlo.";
// A question without an answer stops the report: the prefix before its number.
inline constexpr const char* kPreguntaSinRespuesta = "No se obtuvo la respuesta de la pregunta ";

// Status line while the questionnaire document is produced.
inline constexpr const char* kIniciando = "Iniciando...";
inline constexpr const char* kPorFavorEspere = "Por favor espere... ";
inline constexpr const char* kErrorAvance = "Error...";
inline constexpr const char* kPreparandoReporte = "Preparando reporte...";
inline constexpr const char* kNoSeEscribioPlantilla = "No se pudo escribir la plantilla: ";

// Workbooks (after them, the library's cause between parentheses).
inline constexpr const char* kLibroSinMemoria = "No se pudo iniciar el libro de Excel";
inline constexpr const char* kLibroCerrado = "El libro de Excel ya se cerró";
inline constexpr const char* kHojaNoValida = "Nombre de hoja no válido: ";
// A sheet whose temporary file could not be made (after the sheet's name, the cause).
inline constexpr const char* kHojaSinArchivoTemporal =
    "No se pudo crear el archivo temporal de la hoja ";
inline constexpr const char* kFilaDeMas = "La fila tiene más celdas que columnas en la hoja ";
inline constexpr const char* kNoSeEscribioCelda = "No se pudo escribir en el libro de Excel";
inline constexpr const char* kNoSeGuardoLibro = "No se pudo guardar el libro de Excel ";

}  // namespace kv::textos_doc
