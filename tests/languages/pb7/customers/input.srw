$PBExportHeader$w_customer.srw
forward
global type w_customer from window
end type
type dw_1 from datawindow within w_customer
end type
type cb_save from commandbutton within w_customer
end type
end forward

global type w_customer from window
integer width = 2011
integer height = 1240
string title = "Customers"
event ue_refresh ( )
dw_1 dw_1
cb_save cb_save
end type
global w_customer w_customer

type variables
n_customer in_customer
end variables

forward prototypes
public subroutine wf_refresh (long al_id)
end prototypes

public subroutine wf_refresh (long al_id);in_customer.of_load(al_id)
dw_1.Retrieve(al_id)
end subroutine

on w_customer.create
this.dw_1=create dw_1
this.cb_save=create cb_save
this.Control[]={this.dw_1,&
this.cb_save}
end on

on w_customer.destroy
destroy(this.dw_1)
destroy(this.cb_save)
end on

event open;in_customer = create n_customer
dw_1.SetTransObject(sqlca)
this.event ue_refresh()
end event

event ue_refresh();wf_refresh(1)
end event

event close;destroy in_customer
end event

type dw_1 from datawindow within w_customer
integer x = 37
integer y = 32
string dataobject = "d_customer"
boolean vscrollbar = true
end type

type cb_save from commandbutton within w_customer
integer x = 1600
string text = "&Save"
end type

event clicked;if in_customer.of_save() = 1 then
	parent.wf_refresh(1)
	open(w_about)
end if
end event
