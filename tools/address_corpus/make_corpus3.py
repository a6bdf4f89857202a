#!/usr/bin/env python3
"""Third receiver-text corpus for tuning the address parser (written independently)."""
