#include "qbvexo.h"

#include "gui_tessel.h"

FILE *file = NULL;
int MaxLine = 15;

/* Reads one whole line, LF included, keeping at most size-1 bytes of it;
 * false at the end of the file. Control bytes other than the final LF
 * (NUL among them) are shown as '?', so the label shows the whole line. */
static bool read_status_line(FILE *stream, char *out, size_t size)
{
	size_t kept = 0;
	int c = getc(stream);
	if (c == EOF)
		return false;
	for (; c != EOF; c = getc(stream)) {
		bool lf = c == '\n';
		if (kept + 1 < size)
			out[kept++] = lf ? '\n' : ((unsigned char)c < 0x20 || c == 0x7f) ? '?' : (char)c;
		if (lf)
			break;
	}
	out[kept] = '\0';
	return true;
}

void processFile(FILE *file, int MaxLine)
{
	char line[100];
	for (int currentLine = 1; currentLine <= MaxLine; currentLine++) {
		/* A line longer than the buffer is cut; the rest of it is skipped,
		 * never shown in the next label. */
		if (!read_status_line(file, line, sizeof line))
			break;
		setLabelText(line, currentLine);
	}
}

void setLabelText(char *line, int currentLine)
{
	lv_obj_t *label = NULL;
	switch (currentLine) {
	case 1: label = tessel_ui.Test_progrem_I2C_Log; break;
	case 2: label = tessel_ui.Test_progrem_GPIO_Log; break;
	case 3: label = tessel_ui.Test_progrem_UART_Log; break;
	case 4: label = tessel_ui.Test_progrem_SPI_M_Log; break;
	case 5: label = tessel_ui.Test_progrem_SPI_S_Log; break;
	case 6: label = tessel_ui.Test_progrem_ADC_Log; break;
	case 7: label = tessel_ui.Test_progrem_USB1_Log; break;
	case 8: label = tessel_ui.Test_progrem_USB2_Log; break;
	case 9: label = tessel_ui.Test_progrem_PL2303_Log; break;
	case 10: label = tessel_ui.Test_progrem_DSI_Log; break;
	case 11: label = tessel_ui.Test_progrem_LVDS_Log; break;
	case 12: label = tessel_ui.Test_progrem_Audio_Log; break;
	case 13: label = tessel_ui.Test_progrem_MQS_Log; break;
	case 14: label = tessel_ui.Test_progrem_CSI_Log; break;
	case 15: label = tessel_ui.Test_progrem_RTC_Log; break;
	default: return;
	}
	if (label != NULL)
		lv_label_set_text(label, line);
}
