#pragma once
// Every text of the application shell: window, captions, hints, messages and the
// instructions shown at start and before the report.
namespace kv::textos_app {

inline constexpr const char* kTituloVentana = "Cuestionario Operatividad 2020";

// Captions of the window; the comment names the control that shows each.
// Label1
inline constexpr const char* kTituloCuestionario = "Cuestionario de Operatividad CNBV - 2020";
// Label6
inline constexpr const char* kPaso1TipoCambio = "1.- Indique Tipo de Cambio promedio del 2019";
// txCambio
inline constexpr const char* kEtiquetaTipoCambio = "Tipo de Cambio*";
// edCambio
inline constexpr const char* kCambioInicial = "19.26";
// Label2
inline constexpr const char* kTipoCambioSugerido = "*Tipo de cambio sugerido: 19.26";
// Label4
inline constexpr const char* kPaso2ClaveYContrasena = "2.- Indique Clave y Contraseña del Kavori";
// txUsuario
inline constexpr const char* kEtiquetaClaveEntrada = "Clave de Entrada a Kavori";
// txPassw
inline constexpr const char* kEtiquetaPassword = "Password";
// Label9
inline constexpr const char* kPaso3PresioneDetectar = "3.- Presione el botón \"Detectar PEPs\"";
// Label8
inline constexpr const char* kPaso3Explicacion =
    "Se mostrará en el paso 4 de este programa, una lista de Usuarios que realizaron operaciones "
    "con su CC durante 2019, y que fueron considerados como posibles PEPs";
// bnDetectaPEPs
inline constexpr const char* kBotonDetectarPEPs = "Detectar PEPs";
// txPaso4
inline constexpr const char* kPaso4MarqueLosPEPs =
    "4.- De la siguiente lista, marque sólo los Usuarios que se consideraron como PEPs";
// Label7
inline constexpr const char* kTipHomonimos =
    "Tip: NO marque los Usuarios que dictaminó como homónimos";
// Label11 (on pnIgnorar)
inline constexpr const char* kAvisoSinPEPs =
    "No se detectaron operaciones con ningún PEP. Ignore este paso y presione el botón "
    "\"Generar reporte\".";
// txMensajes, replaced at start
inline constexpr const char* kMensajesDeDiseno = "Mensajes";
// txPruebas
inline constexpr const char* kVersionBeta = "Versión BETA";
// bnGenReporte
inline constexpr const char* kBotonGenerarReporte = "Generar reporte";
// Label5
inline constexpr const char* kVersionPrograma = "v1.9";

// Grid of step 4.
inline constexpr const char* kTituloMarcarPEP = "Marcar PEP";
inline constexpr const char* kTituloNombre = "Nombre del Usuario";

// Hints shown on hovering, by control.
// edCambio
inline constexpr const char* kAyudaTipoCambio = "Tipo de Cambio a utilizar";
// edUsuario
inline constexpr const char* kAyudaClaveEntrada = "Usuario administrador para acceder a Kavori";
// edPassw
inline constexpr const char* kAyudaPassword =
    "Contraseña del usuario administrador para acceder a Kavori";
// bnDetectaPEPs
inline constexpr const char* kAyudaDetectarPEPs = "Cargará una lista de posibles PEPs en el paso 4";
// grdPEPs and its tick box
inline constexpr const char* kAyudaMarcarPEP = "Haga click en el recuadro si el Usuario es un PEP";

// Files of the program folder.
inline constexpr const char* kArchivoIni = "Kavori.INI";
inline constexpr const char* kSeccionControl = "Control";
inline constexpr const char* kClaveEmpresaActiva = "EmpresaActiva";
inline constexpr const char* kCarpetaBD = "DataBase";
inline constexpr const char* kArchivoBD = "Kavori.mdb";
inline constexpr const char* kConexionPrincipal = "BDPrincipal";

// The program folder chosen at start (argument, executable's folder, remembered or asked for).
inline constexpr const char* kElijaCarpeta =
    "Elija la carpeta del Kavori (la que tiene Kavori.INI y DataBase)";
inline constexpr const char* kCarpetaNoExiste = "No existe la carpeta del Kavori indicada: ";
inline constexpr const char* kCarpetaSinIni =
    "La carpeta elegida no tiene Kavori.INI; elija la carpeta del Kavori: ";

// Messages.
inline constexpr const char* kErrorCarpetaKavori =
    "Error: Este programa debe encontrarse en la carpeta del Kavori.";
inline constexpr const char* kConectandoBD = "Conectando con la BD...";
inline constexpr const char* kFaltaUsuario = "Por favor, escriba su usuario (Administrador).";
inline constexpr const char* kFaltaCambio = "Por favor, escriba el tipo de cambio.";
inline constexpr const char* kCambioCero = "El tipo de cambio debe ser diferente a cero.";
inline constexpr const char* kSinNumEmpresa =
    "No se pudo extraer el Número de la Empresa predeterminada.";
inline constexpr const char* kUsuarioConectado =
    "Hay un usuario conectado a la BD. Cierre Kavori antes de continuar.";
// The box has two spaces before "tiene", the status line one.
inline constexpr const char* kAccesoNegadoCaja =
    "La contraseña es incorrecta o, el usuario no  tiene permisos de administrador.";
inline constexpr const char* kAccesoNegadoEstado =
    "La contraseña es incorrecta o, el usuario no tiene permisos de administrador.";
inline constexpr const char* kDeteccionFinalizada = "La detección de PEPs ha finalizado.";
inline constexpr const char* kAdvertencia = "¡Advertencia!";
inline constexpr const char* kProcesoCancelado = "Proceso cancelado.";
// A rate outside the plausible range, asked before the report: the prefix, the rate as
// typed, then the question.
inline constexpr const char* kTipoCambioInusual = "El tipo de cambio ";
inline constexpr const char* kTipoCambioInusualPregunta =
    " está fuera del rango usual (de 5 a 100 pesos por dólar). ¿Desea generar el reporte con "
    "ese tipo de cambio?";
inline constexpr const char* kReporteCorrecto = "El reporte se generó correctamente.";
inline constexpr const char* kReporteFallido =
    "No fue posible generar el reporte. Llame a Soporte Técnico.";
// After the cause of a failed report, before the log file's path.
inline constexpr const char* kVeaBitacora = "\r\n\r\nQuedó registrado para Soporte Técnico en: ";

// The instructions: paragraphs separated by CR CR LF, no separator at the end.
inline constexpr const char* kIndicaciones =
    "Para responder correctamente el cuestionario, es muy importante que por favor siga estas "
    "indicaciones:\r\r\n"
    "1.- Haga un respaldo de seguridad de la Base de Datos del Kavori.\r\r\n"
    "2.- Asigne el Símbolo a todas las divisas (Catálogo de \"Divisas para Compra/Venta\"; en "
    "Kavori: Menú principal -> Archivo -> Opción 4 ). Las Divisas sin Símbolo podrían ser "
    "ignoradas y causar resultados erróneos.\r\r\n"
    "3.- Asigne las Claves de la Actividad a  todos los Sectores (Catálogo de \"Ocupaciones, "
    "Profesiones, Actividades o Giros del Negocio\"; en Kavori:  Menú principal -> Usuarios -> "
    "Opción 2). Cerciórese que la clave corresponda correctamente con el Sector, de lo contrario "
    "podría causar resultados erróneos.\r\r\n"
    "4.- Cierre el programa Kavori. \r\r\n"
    "5.- Instale y ejecute este programa en la carpeta raíz del Kavori (Generalmente en "
    "C:\\Kavori Software\\). \r\r\n"
    "6.- Si tiene varias computadoras con Kavori en el mismo establecimiento, instale este "
    "programa en la computadora principal (Servidor).\r\r\n"
    "7.- Si tiene varias sucursales, utilice este programa para generar un reporte por "
    "sucursal. Posteriormente analice la información para condensarla manualmente en un solo "
    "reporte.\r\r\n"
    "8.- El cuestionario tiene preguntas que NO son posibles de contestar por medio de la Base "
    "de Datos del Kavori, por lo que deberá contestarlas a criterio y de acuerdo a la "
    "operatividad de su Centro Cambiario. Estas preguntas traen la respuesta: (** El CC debe "
    "responder **).\r\r\n"
    "Nota 1: Considere los datos que están entre paréntesis para analizar y condensar la "
    "información en caso de tener varias sucursales. No debe escribir estos datos en el "
    "cuestionario, son sólo datos informativos para su análisis.\r\r\n"
    "Nota 2: En caso de no utilizar el sistema Kavori de forma automática para la detección de "
    "PEPs, los resultados podrían no ser correctos. Deberá realizar los cálculos "
    "correspondientes en cada respuesta donde intervengan PEPs conforme a los dictámenes que "
    "hubiera realizado.\r\r\n"
    "¿Ha seguido las indicaciones y desea continuar?";

}  // namespace kv::textos_app
